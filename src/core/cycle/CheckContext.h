#pragma once
// What the check cycle and the POP3 session work on together: the main
// window's registers, the run-time state, the accounts dialog, the Log and
// the transport, with the few operations both sides need.

#include <string>
#include <string_view>

#include "cycle/CycleState.h"
#include "log/Log.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowModel.h"
#include "ports/UiPort.h"
#include "transport/TcpTransport.h"
#include "windows/AccountsDialogModel.h"

namespace mivo {

struct CheckContext {
    MainWindowModel& window;
    CycleState& cycle;
    AccountsDialogModel& accountsDialog;
    Log& log;
    MainWindow& mainWindow;
    UiPort& ui;
    TcpTransport& transport;

    void setCaption(const std::string& text) { mainWindow.SetStatusCaption(text); }

    // The dialog paints its account numbers each time it is shown.
    void showAccountsDialog() {
        accountsDialog.paintAccountNumbers(cycle);
        ui.showWindow(WindowId::Accounts);
    }

    void addError(std::string_view line);

    // Sends the bytes as they are on the current connection.
    void send(std::string_view bytes);
};

}  // namespace mivo
