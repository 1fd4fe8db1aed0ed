#pragma once
// The behaviour of the new-mail window TForm1 that the rest of the program
// relies on: Done takes the announced mail as seen.

#include "cycle/CycleState.h"
#include "mainwindow/MainWindowModel.h"
#include "ports/UiPort.h"
#include "windows/AccountsDialogModel.h"

namespace mivo {

class NewMailWindow {
public:
    NewMailWindow(MainWindowModel& mainWindow, AccountsDialogModel& accountsDialog, UiPort& ui)
        : m_mainWindow(mainWindow), m_accountsDialog(accountsDialog), m_ui(ui) {}

    // Hides the window and empties every account's list, so the next
    // summary holds only mail found after this.
    void DoneClick();

private:
    MainWindowModel& m_mainWindow;
    AccountsDialogModel& m_accountsDialog;
    UiPort& m_ui;
};

}  // namespace mivo
