#pragma once
// One running Mivo: the models of its windows, its run-time state and the
// behaviours bound to them. The GUI and the console front end each build one
// Program on their own adapters and drive it from their event loop.

#include "cycle/CheckContext.h"
#include "cycle/CheckCycle.h"
#include "cycle/CheckTimer.h"
#include "cycle/CycleState.h"
#include "cycle/NewMailSummary.h"
#include "log/Log.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowModel.h"
#include "pop3/Pop3Session.h"
#include "ports/ClockPort.h"
#include "ports/SocketPort.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "transport/TcpTransport.h"
#include "windows/AccountsDialogModel.h"
#include "windows/LogViewerModel.h"
#include "windows/NewMailWindowModel.h"

namespace mivo {

struct Ports {
    UiPort& ui;
    const ClockPort& clock;
    TimerPort& timers;
    SocketPort& sockets;
};

class Program {
public:
    explicit Program(Ports ports);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    MainWindowModel mainWindowModel;
    AccountsDialogModel accountsDialog;
    LogViewerModel logViewer;
    NewMailWindowModel newMailWindow;
    CycleState cycle;
    Log log;
    MainWindow mainWindow;
    TcpTransport transport;

    // The mail check: the cycle over the accounts and the POP3 session.
    CheckContext checkContext;
    Pop3Session session;
    NewMailSummary newMailSummary;
    CheckCycle checkCycle;
    CheckTimer checkTimer;
};

}  // namespace mivo
