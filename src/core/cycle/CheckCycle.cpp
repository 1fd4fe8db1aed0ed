#include "cycle/CheckCycle.h"

#include "transport/PopHost.h"

namespace mivo {

CheckCycle::CheckCycle(CheckContext& context, Pop3Session& session, NewMailSummary& summary)
    : m_context(context), m_session(session), m_summary(summary) {}

void CheckCycle::Button4Click() {
    CycleState& cycle = m_context.cycle;
    MainWindowModel& window = m_context.window;
    cycle.settingsOk = true;
    cycle.accountError[cycle.Account] = false;
    if (cycle.connected || cycle.connecting) {
        m_context.log.append(
            "----------------Tried to log in, but already connected/connecting------------------");
        return;
    }
    cycle.Account += 1;
    const int account = cycle.Account;
    if (account > kAccountCount) {
        m_summary.build();
        return;
    }
    copyAccountIntoWorkingFields(account);
    const bool noUser = window.User.get().empty();
    const bool noPass = window.Pass.get().empty();
    const bool noPop = window.POP.get().empty();
    if (noUser && noPass && noPop) {
        m_context.log.append("No User details for this account.");
        m_context.log.append(std::to_string(account));
        Button4Click();
        return;
    }
    if (noUser || noPass || noPop) {
        reportIncompleteAccount(account);
        Button4Click();
        return;
    }
    openConnection(account);
}

void CheckCycle::copyAccountIntoWorkingFields(int account) {
    MainWindowModel& window = m_context.window;
    window.User.set(window.accountUser(account).get());
    window.Pass.set(window.accountPass(account).get());
    window.POP.set(window.accountPop(account).get());
}

void CheckCycle::reportIncompleteAccount(int account) {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    const char* missing = window.User.get().empty()   ? ")Enter User Name"
                          : window.Pass.get().empty() ? ")Enter Password"
                                                      : ")Enter POP Host Name";
    const std::string message = "(" + std::to_string(account) + missing;
    m_context.setCaption(message);
    m_context.addError(message);
    cycle.accountError[account] = true;
    m_context.showAccountsDialog();
    cycle.settingsOk = false;
    // The account-1 area opens whichever account is incomplete.
    m_context.mainWindow.openOptionsArea();
}

void CheckCycle::openConnection(int account) {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    TcpTransport& transport = m_context.transport;
    cycle.connecting = true;
    m_context.setCaption("(" + std::to_string(account) + ")(" + window.User.get() +
                         ")Checking for new mail - Mivo");
    window.Memo2.set("1 - Connecting to host");
    m_context.log.append(window.Memo2.get());
    window.TickCount = 0;
    m_context.mainWindow.Timer1Timer();
    cycle.transportSlot = transport.TcpOpenSlot(m_session.SessionCallback());
    // With every slot taken there is nothing to connect: treat it as an open
    // refused at once.
    if (cycle.transportSlot < 0) {
        openRefused();
        return;
    }
    const PopHost host = splitPopHost(window.POP.get());
    if (transport.TcpConnect(cycle.transportSlot, host.host, host.port) == 0) {
        openRefused();
    }
}

void CheckCycle::openRefused() {
    CycleState& cycle = m_context.cycle;
    m_context.log.append("###Channel Closing");
    if (cycle.transportSlot >= 0) {
        m_context.transport.TcpClose(cycle.transportSlot);
    }
    m_context.window.TickCount = 0;
    m_context.log.append(" TCP closed");
    m_context.mainWindow.Timer1Timer();
    cycle.connected = false;
    cycle.connecting = false;
    if (cycle.terminating) {
        m_context.ui.terminateApplication();
    }
}

void CheckCycle::Button2Click() {
    CycleState& cycle = m_context.cycle;
    MainWindowModel& window = m_context.window;
    if (cycle.connected || cycle.connecting) {
        m_context.transport.TcpClose(cycle.transportSlot);
    }
    cycle.connected = false;
    cycle.connecting = false;
    cycle.silentTicks = 0;
    cycle.Account = 0;
    cycle.newMailCount = 0;
    for (int slot = 0; slot <= kAccountCount; ++slot) {
        cycle.numonser[slot] = 0;
        cycle.lastNumKnown[slot] = 0;
        cycle.accountError[slot] = false;
        cycle.CCW[slot] = true;
    }
    UiPort& ui = m_context.ui;
    if (window.NewMailOpen) {
        ui.hideWindow(WindowId::NewMail);
    }
    if (window.advancedOptionsOpen) {
        ui.hideWindow(WindowId::AdvancedOptions);
    }
    if (window.logViewerOpen) {
        ui.hideWindow(WindowId::LogViewer);
    }
    window.NewMailOpen = false;
    window.advancedOptionsOpen = false;
    window.logViewerOpen = false;
    m_context.mainWindow.Timer1Timer();
    m_context.setCaption("Mivo");
}

}  // namespace mivo
