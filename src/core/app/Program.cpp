#include "app/Program.h"

namespace mivo {

Program::Program(Ports ports, std::vector<std::string> arguments)
    : m_ui(ports.ui),
      m_timers(ports.timers),
      m_arguments(std::move(arguments)),
      m_log(m_mainWindowModel.Log, m_mainWindowModel.logViewerOpen, m_logViewer.LogCopy,
            ports.clock),
      m_seenMail(m_mainWindowModel, m_cycle, m_log),
      m_launcher(m_log, ports.processes, ports.ui),
      m_statusCaption(m_mainWindowModel, ports.ui),
      m_presence(m_mainWindowModel, ports.ui, ports.timers, m_log),
      m_newMailWindowBehaviour({m_newMailWindow, m_mainWindowModel, m_accountsDialog, m_launcher,
                                m_log, ports.ui, ports.timers}),
      m_urgentNoticeBehaviour(m_urgentNotice, ports.ui, ports.timers),
      m_logViewerBehaviour(m_logViewer, m_mainWindowModel, m_log, ports.ui),
      m_advancedOptionsBehaviour(m_advancedOptions, m_mainWindowModel, m_logViewerBehaviour,
                                 m_presence, ports.ui),
      m_accountsDialogBehaviour(m_accountsDialog, m_mainWindowModel, m_cycle, ports.ui),
      m_directoryChooserBehaviour(m_directoryChooser, m_advancedOptions, ports.ui),
      m_transport(ports.sockets),
      m_reports(m_log, m_statusCaption, m_accountsDialog, m_accountsDialogBehaviour),
      m_checkTimer(m_mainWindowModel, m_cycle, m_reports, ports.ui, ports.timers),
      m_newMailSummary({m_mainWindowModel, m_cycle, m_accountsDialog, m_newMailWindow,
                        m_newMailWindowBehaviour, m_urgentNoticeBehaviour, m_reports, ports.ui,
                        ports.clock}),
      m_checkCycle({m_mainWindowModel, m_cycle, m_accountsDialog, m_reports,
                    m_advancedOptionsBehaviour, m_checkTimer, m_newMailSummary, m_transport,
                    ports.timers, ports.clock, ports.ui, ports.downloads, m_launcher, m_seenMail}),
      m_settingsStore({m_mainWindowModel, m_cycle, m_checkTimer, m_presence,
                       m_advancedOptionsBehaviour, m_launcher, m_log, m_transport, ports.settings,
                       ports.random}),
      m_uninstallSteps(ports.settings, ports.installation),
      m_uninstaller(
          {m_uninstallWindow, m_presence, m_log, m_uninstallSteps, ports.ui, ports.timers}),
      m_mainWindow({m_mainWindowModel, m_cycle, ports.ui, ports.timers, m_log, m_statusCaption,
                    m_presence, m_checkCycle, m_checkTimer, m_settingsStore,
                    m_advancedOptionsBehaviour, m_accountsDialogBehaviour, m_launcher}) {
    m_mainWindowModel.defaultTempDir = ports.settings.temporaryDirectory();
    m_mainWindowModel.TEMPDIR.set(m_mainWindowModel.defaultTempDir);
    // The main-window timers.
    ports.timers.setHandler(TimerId::Timer1, [this] { m_mainWindow.Timer1Timer(); });
    ports.timers.setInterval(TimerId::Timer1, 60000);
    ports.timers.setHandler(TimerId::Timer2, [this] { m_mainWindow.Timer2Timer(); });
    ports.timers.setInterval(TimerId::Timer2, 100);
    ports.timers.setHandler(TimerId::Timer3, [this] { m_mainWindow.Timer3Timer(); });
    ports.timers.setInterval(TimerId::Timer3, 2000);
    // Timer1 and Timer2 run from creation; Timer3 only while its step can
    // act, which the taskbar presence sees to.
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer2}) {
        ports.timers.setEnabled(timer, true);
    }
}

std::optional<std::string> Program::keepSeenMailIn(StatePort& state) {
    m_uninstallSteps.removeStateToo(state);
    return m_seenMail.keepIn(state);
}

void Program::startUp() {
    m_settingsStore.load(m_arguments);
    if (m_arguments.size() == 1 && m_arguments[0] == "uninstall") {
        m_timers.setEnabled(TimerId::UninstallStep, true);
        m_ui.showWindow(WindowId::Uninstall);
        m_mainWindowModel.uninstalling = true;
        m_log.append("We UNINSTALL");
    }
}

void Program::bringIntoService() {
    // Accounts given this way must never be written over the stored ones.
    m_mainWindowModel.saveAllowed = false;
    m_transport.TcpInit();
    m_checkTimer.applyInterval();
    m_checkTimer.showIntervalInForce();
}

}  // namespace mivo
