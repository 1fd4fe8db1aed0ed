#include "mainwindow/MainWindow.h"

#include "cycle/CheckCycle.h"
#include "cycle/CheckTimer.h"
#include "identity/Version.h"
#include "launch/Launcher.h"
#include "settings/SettingsStore.h"
#include "windows/AccountsDialog.h"
#include "windows/AdvancedOptions.h"

namespace mivo {

MainWindow::MainWindow(MainWindowModel& model, CycleState& cycle, UiPort& ui, TimerPort& timers,
                       Log& log)
    : m_model(model),
      m_cycle(cycle),
      m_ui(ui),
      m_timers(timers),
      m_log(log),
      m_presence(model, ui, timers, log) {
    m_model.UserName.onChange([this] { UserNameChange(); });
    m_model.UserPass.onChange([this] { UserNameChange(); });
    m_model.PopServ.onChange([this] { UserNameChange(); });
    // A click on "Check mail every:", from the user or from code, is a tick.
    m_model.CheckBox2.onChange([this] { Timer1Timer(); });
    m_model.Edit1.onChange([this] { Edit1Enter(); });
}

void MainWindow::attachCheckCycle(CheckCycle& checkCycle, CheckTimer& checkTimer) {
    m_checkCycle = &checkCycle;
    m_checkTimer = &checkTimer;
}

void MainWindow::Button4Click() {
    if (m_checkCycle != nullptr) {
        m_checkCycle->checkNowPressed();
    }
}

void MainWindow::Timer1Timer() {
    if (m_checkCycle != nullptr) {
        m_checkCycle->Timer1Timer();
    }
}

void MainWindow::Edit1Enter() {
    if (m_checkTimer != nullptr) {
        m_checkTimer->Edit1Enter();
    }
}

void MainWindow::Edit1Exit() {
    if (m_checkTimer != nullptr) {
        m_checkTimer->Edit1Exit();
    }
}

void MainWindow::Button2Click() {
    if (m_checkCycle != nullptr) {
        m_checkCycle->Button2Click();
    }
}

void MainWindow::SetStatusCaption(const std::string& text) {
    m_model.Caption.set(text);
    m_model.ApplicationTitle.set(m_model.Caption.get());
    m_ui.setApplicationTitle(m_model.Caption.get());
}

void MainWindow::FormCreate() {
    m_model.Version.set("Ver " + std::to_string(kVersionMajor) + "." +
                        std::to_string(kVersionMinor));
    m_model.Width.set(layout::kWideWidth);
    const ScreenSize screen = m_ui.screenSize();
    m_model.Left.set((screen.width - m_model.Width.get()) / 2);
    // The bottom edge sits on the screen's horizontal middle line.
    m_model.Top.set(screen.height / 2 - layout::kWindowHeight);
    // The handler for the application being minimised is bound by the
    // window itself, as all its events are.
    m_presence.setUpTrayIcon();
}

void MainWindow::FormShow() {
    m_model.Left.set((m_ui.screenSize().width - m_model.Width.get()) / 2);
}

void MainWindow::FormActivate() {
    m_model.AppfirstIdle.set(true);
    if (m_model.uninstalling) {
        // Only the uninstall window is meant to be seen.
        m_model.Left.set(m_ui.screenSize().width);
    }
}

void MainWindow::FormClick() {
    if (m_settingsStore != nullptr) {
        m_settingsStore->save();
    }
}

void MainWindow::Timer2Timer() {
    m_log.append("Timer2Timer");
    if (!m_model.AppfirstIdle.get()) {
        return;
    }
    m_model.AppfirstIdle.set(false);
    m_timers.setEnabled(TimerId::Timer2, false);
    if (m_model.uninstalling) {
        m_ui.hideWindow(WindowId::MainWindow);
        m_log.append("Uninstalling, so hiding ubo");
        return;
    }
    if (m_model.StartMinimized.get()) {
        m_log.append("minimizing Mivo");
        m_ui.minimiseApplication();
    }
}

void MainWindow::Button1Click() {
    m_ui.minimiseApplication();
    Edit1Enter();
}

void MainWindow::UserOptionsClick() {
    if (m_model.Width.get() < layout::kWideWidth) {
        openOptionsArea();
    } else {
        m_model.Width.set(layout::kNarrowWidth);
        m_model.UserOptionsCaption.set("Open Options ->");
    }
}

void MainWindow::openOptionsArea() {
    m_model.Width.set(layout::kWideWidth);
    m_model.UserOptionsCaption.set("Close Options <-");
}

void MainWindow::UserNameChange() {
    m_cycle.accountError[1] = false;
    m_cycle.CCW[1] = false;
    m_cycle.loginRefused[1] = false;
    m_cycle.settingsOk = true;
}

void MainWindow::attachAdvancedOptions(AdvancedOptions& advancedOptions) {
    m_advancedOptions = &advancedOptions;
}

void MainWindow::Button5Click() {
    if (m_advancedOptions != nullptr) {
        if (m_model.advancedOptionsOpen) {
            m_advancedOptions->hideAndApply();
        } else {
            m_advancedOptions->fillAndShow();
        }
    }
    applyPresence();
}

void MainWindow::MultiPopClick() {
    if (m_accountsDialog != nullptr) {
        m_accountsDialog->Show();
    }
}

bool MainWindow::FormCloseQuery() {
    m_presence.removeTrayIcon();
    const bool canClose = !m_cycle.connected && !m_cycle.connecting;
    m_cycle.terminating = true;
    SetStatusCaption("Terminateing Mivo");
    return canClose;
}

void MainWindow::HelpClick() {
    if (m_launcher != nullptr) {
        m_launcher->OpenHelp();
    }
}

void MainWindow::WebLaunchClick() {
    if (m_launcher != nullptr) {
        m_launcher->OpenWebSite();
    }
}

}  // namespace mivo
