#pragma once
// The desktop program's Qt application: its title and look, and the one place
// where an exception escaping any event handler is caught and shown.

#include <QApplication>
#include <QString>
#include <functional>

#include "CursorBlinkTimeout.h"

namespace mivo {

class Application : public QApplication {
    Q_OBJECT

public:
    using ErrorReporter = std::function<void(const QString& text)>;

    Application(int& argc, char** argv);

    // Every event, timer tick and socket notification passes here; an error
    // a handler lets escape is reported and the loop goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    // A stop box with the error's text, titled with the application title.
    void reportError(const QString& text);
    // Replaces the modal box, so tests can see the report without a nested loop.
    void setErrorReporter(ErrorReporter reporter);

    // The text of the program's taskbar entry and of its error boxes.
    const QString& applicationTitle() const { return m_title; }
    void setApplicationTitle(const QString& title) { m_title = title; }

    // While the windows are being built an error ends the start-up instead of
    // being shown per event, so it reaches the start-up's own report.
    class CreationPhase {
    public:
        explicit CreationPhase(Application& app);
        ~CreationPhase();
        CreationPhase(const CreationPhase&) = delete;
        CreationPhase& operator=(const CreationPhase&) = delete;

    private:
        Application& m_app;
    };

private:
    void showErrorBox(const QString& text);

    QString m_title;
    ErrorReporter m_reporter;
    bool m_creating = false;
    CursorBlinkTimeout m_cursorBlinkTimeout{*this};
};

}  // namespace mivo
