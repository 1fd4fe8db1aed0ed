#pragma once
// Stops the text cursor's blinking once the keyboard and mouse have been left
// alone for a while, as desktops do, so that an idle program with a text box
// in focus is not woken twice a second to blink; the next key or click
// brings the user's blinking back.

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <chrono>

namespace mivo {

class CursorBlinkTimeout : public QObject {
public:
    // A common desktop default: ten seconds without input.
    static constexpr std::chrono::milliseconds kDefaultTimeout{10000};

    explicit CursorBlinkTimeout(QApplication& app,
                                std::chrono::milliseconds timeout = kDefaultTimeout);
    // Leaves the user's blinking as it found it.
    ~CursorBlinkTimeout() override;
    CursorBlinkTimeout(const CursorBlinkTimeout&) = delete;
    CursorBlinkTimeout& operator=(const CursorBlinkTimeout&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopBlinking();
    void resumeBlinking();

    QApplication& m_app;
    QTimer m_quiet;
    int m_userFlashTime = 0;  // the blinking to bring back, while stopped
    bool m_stopped = false;
};

}  // namespace mivo
