#pragma once
// The behaviour of the log viewer TLogViewer: it mirrors the Log from the
// moment it is shown until it is hidden, and clears the Log on request.

#include "log/Log.h"
#include "model/MainWindowModel.h"
#include "ports/UiPort.h"
#include "windows/LogViewerModel.h"

namespace mivo {

class LogViewer {
public:
    LogViewer(LogViewerModel& model, MainWindowModel& mainWindow, Log& log, UiPort& ui)
        : m_model(model), m_window(mainWindow), m_log(log), m_ui(ui) {}

    // "Show Log": the viewer starts with the whole Log and follows every
    // change of it until it is hidden.
    void ShowLog();
    // "Clear Log File".
    void ClearClick();
    // Runs whenever the window is hidden, whatever hid it: a viewer that is
    // not on screen is not kept up to date.
    void FormHide() { m_window.logViewerOpen = false; }

private:
    LogViewerModel& m_model;
    MainWindowModel& m_window;
    Log& m_log;
    UiPort& m_ui;
};

}  // namespace mivo
