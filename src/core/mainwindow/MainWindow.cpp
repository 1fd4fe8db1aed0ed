#include "mainwindow/MainWindow.h"

#include "cycle/CheckCycle.h"
#include "cycle/CheckTimer.h"
#include "identity/Version.h"
#include "launch/Launcher.h"
#include "report/StatusCaption.h"
#include "settings/SettingsStore.h"
#include "windows/AccountsDialog.h"
#include "windows/AdvancedOptions.h"
#include "windows/TaskbarPresence.h"

namespace mivo {

MainWindow::MainWindow(Parts parts)
    : m_model(parts.model),
      m_cycle(parts.cycle),
      m_ui(parts.ui),
      m_timers(parts.timers),
      m_log(parts.log),
      m_statusCaption(parts.statusCaption),
      m_presence(parts.presence),
      m_checkCycle(parts.checkCycle),
      m_checkTimer(parts.checkTimer),
      m_settingsStore(parts.settingsStore),
      m_advancedOptions(parts.advancedOptions),
      m_accountsDialog(parts.accountsDialog),
      m_launcher(parts.launcher) {
    m_model.UserName.onChange([this] { UserNameChange(); });
    m_model.UserPass.onChange([this] { UserNameChange(); });
    m_model.PopServ.onChange([this] { UserNameChange(); });
    // A click on "Check mail every:", from the user or from code, is a tick.
    m_model.CheckBox2.onChange([this] { Timer1Timer(); });
    m_model.Edit1.onChange([this] { Edit1Enter(); });
}

void MainWindow::Button4Click() {
    m_checkCycle.checkNowPressed();
}

void MainWindow::Timer1Timer() {
    m_checkCycle.tick();
}

void MainWindow::Edit1Enter() {
    m_checkTimer.applyInterval();
}

void MainWindow::Edit1Exit() {
    m_checkTimer.showIntervalInForce();
}

void MainWindow::Button2Click() {
    m_checkCycle.reset();
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
    m_settingsStore.save();
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

void MainWindow::FormClose() {
    m_presence.FormClose();
}

void MainWindow::FormHide() {
    m_presence.FormHide();
}

void MainWindow::Timer3Timer() {
    m_presence.Timer3Timer();
}

void MainWindow::ApplicationMinimize() {
    m_presence.applicationMinimised();
}

void MainWindow::UserOptionsClick() {
    m_advancedOptions.toggleOptionsArea();
}

void MainWindow::UserNameChange() {
    m_cycle.accountError[1] = false;
    m_cycle.CCW[1] = false;
    m_cycle.loginRefused[1] = false;
    m_cycle.settingsOk = true;
}

void MainWindow::Button5Click() {
    m_advancedOptions.toggle();
}

void MainWindow::MultiPopClick() {
    m_accountsDialog.Show();
}

bool MainWindow::FormCloseQuery() {
    m_presence.removeTrayIcon();
    const bool canClose = !m_cycle.connected && !m_cycle.connecting;
    m_cycle.terminating = true;
    m_statusCaption.set("Terminateing Mivo");
    return canClose;
}

void MainWindow::HelpClick() {
    m_launcher.OpenHelp();
}

void MainWindow::WebLaunchClick() {
    m_launcher.OpenWebSite();
}

}  // namespace mivo
