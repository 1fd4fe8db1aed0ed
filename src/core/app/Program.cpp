#include "app/Program.h"

namespace mivo {

Program::Program(Ports ports)
    : log(mainWindowModel.Log, mainWindowModel.logViewerOpen, logViewer.LogCopy, ports.clock),
      mainWindow(mainWindowModel, cycle, ports.ui),
      transport(ports.sockets),
      checkContext{mainWindowModel, cycle, accountsDialog, log, mainWindow, ports.ui, transport},
      session(checkContext),
      newMailSummary(checkContext, newMailWindow, ports.clock),
      checkCycle(checkContext, session, newMailSummary),
      checkTimer(checkContext, session, ports.timers, ports.clock) {
    mainWindow.attachCheckCycle(checkCycle, checkTimer);
    // The three main-window timers run from creation.
    ports.timers.setHandler(TimerId::Timer1, [this] { mainWindow.Timer1Timer(); });
    ports.timers.setInterval(TimerId::Timer1, 60000);
    ports.timers.setInterval(TimerId::Timer2, 100);
    ports.timers.setInterval(TimerId::Timer3, 2000);
    for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) {
        ports.timers.setEnabled(timer, true);
    }
}

}  // namespace mivo
