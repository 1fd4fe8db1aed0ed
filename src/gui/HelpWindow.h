#pragma once
// The program's help: pages shipped inside the program, one for each of its
// windows and a few on getting started and settings, in a window of their
// own that opens at the contents. Built the first time help is asked for.

#include <QPushButton>
#include <QSize>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include "ports/UiPort.h"

namespace mivo {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(const UiPort& ui);

    // Shows the contents page, with the window raised above the others.
    void showContents();

    static QUrl contentsPage();
    static QSize outerSize();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    QPushButton m_contents{this};
    QPushButton m_back{this};
    QPushButton m_forward{this};
    QTextBrowser m_pages{this};
};

}  // namespace mivo
