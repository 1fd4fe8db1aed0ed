#pragma once
// One running Mivo: the models of its windows, its run-time state and the
// behaviours bound to them. The GUI and the console front end each build one
// Program on their own adapters and drive it from their event loop.

#include "cycle/CycleState.h"
#include "log/Log.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowModel.h"
#include "ports/ClockPort.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "windows/AccountsDialogModel.h"
#include "windows/LogViewerModel.h"

namespace mivo {

struct Ports {
    UiPort& ui;
    const ClockPort& clock;
    TimerPort& timers;
};

class Program {
public:
    explicit Program(Ports ports);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    MainWindowModel mainWindowModel;
    AccountsDialogModel accountsDialog;
    LogViewerModel logViewer;
    CycleState cycle;
    Log log;
    MainWindow mainWindow;
};

}  // namespace mivo
