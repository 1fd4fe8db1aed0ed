// TLogViewer, the log viewer.
#include "LogViewerWidget.h"

#include <QHideEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <algorithm>

#include "MemoBinding.h"
#include "QtUi.h"
#include "WindowSetup.h"

namespace mivo {

namespace {
constexpr int kClearWidth = 89;
constexpr int kClearHeight = 17;
}  // namespace

TLogViewer::TLogViewer(Program& program, QtUi& ui)
    : QWidget(nullptr, Qt::Window), m_handlers(program.logViewerBehaviour()) {
    setUpWindow(*this, "LogViewer", "LogViewer", outerSize());
    m_logCopy.setObjectName(QStringLiteral("LogCopy"));
    m_logCopy.setReadOnly(true);
    m_logCopy.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_clear.setObjectName(QStringLiteral("Clear"));
    m_clear.setText(QStringLiteral("Clear Log File"));
    // Over the text, not under it.
    m_clear.raise();
    bindMemo(m_logCopy, program.logViewer().LogCopy);
    LogViewer& handlers = m_handlers;
    connect(&m_clear, &QPushButton::clicked, this, [&handlers] { handlers.ClearClick(); });
    layOut();
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

QSize TLogViewer::outerSize() {
    return QSize(249, 228);
}

void TLogViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Opened afresh, the viewer shows the newest lines, wherever its reader
    // had scrolled to when it was closed; from there it follows the end.
    if (!event->spontaneous()) {
        QScrollBar& bar = *m_logCopy.verticalScrollBar();
        bar.setValue(bar.maximum());
    }
}

void TLogViewer::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising is the window system's hide; only the window's own counts.
    if (!event->spontaneous()) {
        m_handlers.FormHide();
    }
}

void TLogViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void TLogViewer::layOut() {
    m_logCopy.setGeometry(rect());
    // At the right of the top edge, clear of the scroll bar, where the
    // beginnings of the lines stay readable.
    const int scrollBarWidth = m_logCopy.verticalScrollBar()->sizeHint().width();
    const int right = width() - m_logCopy.frameWidth() - scrollBarWidth;
    m_clear.setGeometry(std::max(0, right - kClearWidth), 0, kClearWidth, kClearHeight);
}

}  // namespace mivo
