#pragma once
// The behaviour of the main window TUbo: its creation, show and activation
// steps, the options area, the Adv. Options toggle, the close query and the
// status caption. The window's other handlers are entry points into the
// check cycle, the tray and the launcher.

#include <string>

#include "log/Log.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "windows/TaskbarPresence.h"

namespace mivo {

class AdvancedOptions;
class AccountsDialog;
class CheckCycle;
class CheckTimer;
class Launcher;
class SettingsStore;

class MainWindow {
public:
    MainWindow(MainWindowModel& model, CycleState& cycle, UiPort& ui, TimerPort& timers, Log& log);

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
    // "Check now!" pressed: every account is tried, refused logins too.
    void Button4Click();
    void Timer1Timer();
    void Edit1Enter();
    void Edit1Exit();
    void Button2Click();

    // A click on the window, its deactivation and its destruction: each
    // saves the settings.
    void attachSettingsStore(SettingsStore& store) { m_settingsStore = &store; }
    void FormClick();

    // The first-activation step, 100 ms after the window first became active.
    void Timer2Timer();

    // "Help" opens the help at its contents; "Tavrel Ltd" opens the maker's
    // web site.
    void attachLauncher(Launcher& launcher) { m_launcher = &launcher; }
    void HelpClick();
    void WebLaunchClick();

    // "Minimise": minimises the application and applies the interval.
    void Button1Click();
    // The taskbar button and the tray icon as the window's life goes on.
    void FormClose() { m_presence.FormClose(); }
    // The uninstaller's last step takes the tray icon away.
    void removeTrayIcon() { m_presence.removeTrayIcon(); }
    void FormHide() { m_presence.FormHide(); }
    void Timer3Timer() { m_presence.Timer3Timer(); }
    // The application was minimised, by "Minimise" or by the window system.
    void ApplicationMinimize() { m_presence.applicationMinimised(); }

    // "Config for Multiple POP accounts" shows the accounts dialog.
    void attachAccountsDialog(AccountsDialog& accountsDialog) {
        m_accountsDialog = &accountsDialog;
    }

    // Widens the window to show the account-1 area.
    void openOptionsArea();

    // The advanced options dialog that Button5Click opens and closes.
    void attachAdvancedOptions(AdvancedOptions& advancedOptions);
    // Shows or hides the taskbar button and the tray icon as their flags say.
    void applyPresence() { m_presence.applyPresence(); }

private:
    MainWindowModel& m_model;
    CycleState& m_cycle;
    UiPort& m_ui;
    TimerPort& m_timers;
    Log& m_log;
    TaskbarPresence m_presence;
    CheckCycle* m_checkCycle = nullptr;
    CheckTimer* m_checkTimer = nullptr;
    SettingsStore* m_settingsStore = nullptr;
    AdvancedOptions* m_advancedOptions = nullptr;
    AccountsDialog* m_accountsDialog = nullptr;
    Launcher* m_launcher = nullptr;
};

}  // namespace mivo
