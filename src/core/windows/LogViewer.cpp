#include "windows/LogViewer.h"

namespace mivo {

void LogViewer::ShowLog() {
    m_window.logViewerOpen = true;
    m_model.LogCopy.set(m_log.text());
    m_ui.showWindow(WindowId::LogViewer);
}

void LogViewer::ClearClick() {
    m_log.replace("Log is cleared.\r\n");
}

}  // namespace mivo
