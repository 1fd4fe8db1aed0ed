#include "CursorBlinkTimeout.h"

#include <QEvent>

namespace mivo {

CursorBlinkTimeout::CursorBlinkTimeout(QApplication& app, std::chrono::milliseconds timeout)
    : m_app(app) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(timeout);
    connect(&m_quiet, &QTimer::timeout, this, [this] { stopBlinking(); });
    m_app.installEventFilter(this);
    m_quiet.start();
}

CursorBlinkTimeout::~CursorBlinkTimeout() {
    m_app.removeEventFilter(this);
    resumeBlinking();
}

bool CursorBlinkTimeout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::InputMethod:
            resumeBlinking();
            m_quiet.start();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void CursorBlinkTimeout::stopBlinking() {
    if (m_stopped) {
        return;
    }
    m_userFlashTime = QApplication::cursorFlashTime();
    m_stopped = true;
    // Text boxes follow the change at once: the cursor stays shown.
    QApplication::setCursorFlashTime(0);
}

void CursorBlinkTimeout::resumeBlinking() {
    if (!m_stopped) {
        return;
    }
    m_stopped = false;
    QApplication::setCursorFlashTime(m_userFlashTime);
}

}  // namespace mivo
