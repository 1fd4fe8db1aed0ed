#include "app/Program.h"

namespace mivo {

Program::Program(Ports ports)
    : m_log(m_mainWindowModel.Log, m_mainWindowModel.logViewerOpen, m_logViewer.LogCopy,
            ports.clock),
      m_mainWindow(m_mainWindowModel, m_cycle, ports.ui),
      m_newMailWindowBehaviour(m_mainWindowModel, m_accountsDialog, ports.ui),
      m_accountsDialogBehaviour(m_accountsDialog, m_mainWindowModel, m_cycle, ports.ui),
      m_logViewerBehaviour(m_logViewer, m_mainWindowModel, m_log, ports.ui),
      m_directoryChooserBehaviour(m_directoryChooser, m_advancedOptions, ports.ui),
      m_transport(ports.sockets),
      m_reports(m_log, m_mainWindow, m_accountsDialog, m_accountsDialogBehaviour),
      m_checkTimer(m_mainWindowModel, m_cycle, m_reports, ports.ui, ports.timers),
      m_newMailSummary({m_mainWindowModel, m_cycle, m_accountsDialog, m_newMailWindow, m_reports,
                        ports.ui, ports.clock}),
      m_checkCycle({m_mainWindowModel, m_cycle, m_accountsDialog, m_reports, m_mainWindow,
                    m_checkTimer, m_newMailSummary, m_transport, ports.timers, ports.clock,
                    ports.ui}) {
    m_mainWindow.attachCheckCycle(m_checkCycle, m_checkTimer);
    m_mainWindow.attachAccountsDialog(m_accountsDialogBehaviour);
    m_mainWindowModel.TEMPDIR.set(ports.settings.temporaryDirectory());
    // The three main-window timers run from creation.
    ports.timers.setHandler(TimerId::Timer1, [this] { m_mainWindow.Timer1Timer(); });
    ports.timers.setInterval(TimerId::Timer1, 60000);
    ports.timers.setInterval(TimerId::Timer2, 100);
    ports.timers.setInterval(TimerId::Timer3, 2000);
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) {
        ports.timers.setEnabled(timer, true);
    }
}

void Program::bringIntoService() {
    m_transport.TcpInit();
    m_mainWindow.Edit1Enter();
    m_mainWindow.Edit1Exit();
}

}  // namespace mivo
