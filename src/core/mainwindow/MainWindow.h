#pragma once
// The behaviour of the main window TUbo: its creation, show and activation
// steps and the close query. Its other handlers are entry points into the
// check cycle, the settings, the other windows, the tray and the launcher;
// it is built last, on the parts they name.

#include "log/Log.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"

namespace mivo {

class AccountsDialog;
class AdvancedOptions;
class CheckCycle;
class CheckTimer;
class Launcher;
class SettingsStore;
class StatusCaption;
class TaskbarPresence;

class MainWindow {
public:
    struct Parts {
        MainWindowModel& model;
        CycleState& cycle;
        UiPort& ui;
        TimerPort& timers;
        Log& log;
        StatusCaption& statusCaption;
        TaskbarPresence& presence;
        CheckCycle& checkCycle;
        CheckTimer& checkTimer;
        SettingsStore& settingsStore;
        AdvancedOptions& advancedOptions;
        AccountsDialog& accountsDialog;
        Launcher& launcher;
    };
    explicit MainWindow(Parts parts);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void FormCreate();
    void FormShow();
    void FormActivate();
    // "Open Options ->" / "Close Options <-".
    void UserOptionsClick();
    void UserNameChange();
    // "Adv. Options" opens or closes the advanced options dialog.
    void Button5Click();
    // "Config for Multiple POP accounts" shows the accounts dialog.
    void MultiPopClick();
    // Returns whether the window may close.
    bool FormCloseQuery();

    // "Check now!" pressed: every account is tried, refused logins too.
    void Button4Click();
    void Timer1Timer();
    // The minutes box: typed into, and left.
    void Edit1Enter();
    void Edit1Exit();
    // "Reset".
    void Button2Click();

    // A click on the window, its deactivation and its destruction: each
    // saves the settings.
    void FormClick();

    // The first-activation step, 100 ms after the window first became active.
    void Timer2Timer();

    // "Help" opens the help at its contents; "Tavrel Ltd" opens the maker's
    // web site.
    void HelpClick();
    void WebLaunchClick();

    // "Minimise": minimises the application and applies the interval.
    void Button1Click();
    // The taskbar button and the tray icon as the window's life goes on.
    void FormClose();
    void FormHide();
    void Timer3Timer();
    // The application was minimised, by "Minimise" or by the window system.
    void ApplicationMinimize();

private:
    MainWindowModel& m_model;
    CycleState& m_cycle;
    UiPort& m_ui;
    TimerPort& m_timers;
    Log& m_log;
    StatusCaption& m_statusCaption;
    TaskbarPresence& m_presence;
    CheckCycle& m_checkCycle;
    CheckTimer& m_checkTimer;
    SettingsStore& m_settingsStore;
    AdvancedOptions& m_advancedOptions;
    AccountsDialog& m_accountsDialog;
    Launcher& m_launcher;
};

}  // namespace mivo
