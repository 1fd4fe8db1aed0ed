#pragma once
// The behaviour of the main window TUbo: its creation, show and activation
// steps, the options area, the Adv. Options toggle, the close query and the
// status caption. The window's other handlers are entry points into the
// check cycle, the tray and the launcher.

#include <string>

#include "cycle/CycleState.h"
#include "mainwindow/MainWindowModel.h"
#include "ports/UiPort.h"

namespace mivo {

class AccountsDialog;
class CheckCycle;
class CheckTimer;

class MainWindow {
public:
    MainWindow(MainWindowModel& model, CycleState& cycle, UiPort& ui);

    // Sets the window caption and then the application title to the same text.
    void SetStatusCaption(const std::string& text);

    void FormCreate();
    void FormShow();
    void FormActivate();
    void UserOptionsClick();
    void UserNameChange();
    void Button5Click();
    void MultiPopClick();
    // Returns whether the window may close.
    bool FormCloseQuery();

    // The check cycle: Check now, the tick, the interval and Reset.
    void attachCheckCycle(CheckCycle& checkCycle, CheckTimer& checkTimer);
    void Button4Click();
    void Timer1Timer();
    void Edit1Enter();
    void Edit1Exit();
    void Button2Click();

    // Bound to their controls already, and doing nothing yet: help and the
    // web site wait for the launcher, Minimise, close and hide for the tray
    // icon, and the click, deactivation and destroy steps for the settings
    // store, which will save the settings there.
    void HelpClick() {}
    void WebLaunchClick() {}
    void Button1Click() {}
    void FormClick() {}
    void FormClose() {}
    void FormHide() {}

    // "Config for Multiple POP accounts" shows the accounts dialog.
    void attachAccountsDialog(AccountsDialog& accountsDialog) {
        m_accountsDialog = &accountsDialog;
    }

    // Widens the window to show the account-1 area.
    void openOptionsArea();

private:
    MainWindowModel& m_model;
    CycleState& m_cycle;
    UiPort& m_ui;
    CheckCycle* m_checkCycle = nullptr;
    CheckTimer* m_checkTimer = nullptr;
    AccountsDialog* m_accountsDialog = nullptr;
};

}  // namespace mivo
