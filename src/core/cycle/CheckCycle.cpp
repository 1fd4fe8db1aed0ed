#include "cycle/CheckCycle.h"

#include <algorithm>
#include <optional>

#include "ports/SocketErrorCodes.h"
#include "text/AccountTag.h"
#include "text/TimeText.h"
#include "transport/PopTarget.h"
#include "transport/SocketErrorText.h"

namespace mivo {

CheckCycle::CheckCycle(Parts parts)
    : m_window(parts.window),
      m_cycle(parts.cycle),
      m_accountsDialog(parts.accountsDialog),
      m_reports(parts.reports),
      m_advancedOptions(parts.advancedOptions),
      m_timer(parts.timer),
      m_summary(parts.summary),
      m_transport(parts.transport),
      m_clock(parts.clock),
      m_ui(parts.ui),
      m_seenMail(parts.seenMail),
      m_session(
          Pop3Session::Parts{parts.window, parts.cycle, parts.accountsDialog, parts.reports,
                             parts.downloads, parts.launcher},
          [this](std::string_view bytes) {
              m_transport.TcpSend(m_cycle.transportSlot, bytes.data(),
                                  static_cast<int>(bytes.size()));
              // Every command asks for a reply; nothing sent, the reply to
              // a command sent ahead is the one awaited now.
              m_watch.awaitReply(m_session.awaitsMessage() ? ReplyPace::Steady : ReplyPace::Whole);
          },
          [this](int account, SessionOutcome outcome) { sessionEnded(account, outcome); }),
      m_startTls(StartTlsOpening::Calls{
          [this](std::string_view bytes) {
              m_transport.TcpSend(m_cycle.transportSlot, bytes.data(),
                                  static_cast<int>(bytes.size()));
          },
          [this](const TlsSettings& settings) {
              if (m_transport.TcpStartTls(m_cycle.transportSlot, settings) == 1) {
                  return true;
              }
              closeConnection(m_transport.TcpSecurityOf(m_cycle.transportSlot).text, true, true);
              return false;
          },
          [this](const std::string& reason) { closeConnection(reason, true, true); }}),
      m_watch(
          parts.timers, parts.clock,
          [this] { return m_transport.receivedCount(m_cycle.transportSlot); },
          [this] { watchExpired(); }) {}

void CheckCycle::onCycleEnded(std::function<void(const CycleReport&)> observer) {
    m_cycleObservers.push_back(std::move(observer));
}

void CheckCycle::checkNow() {
    m_cycle.settingsOk = true;
    if (m_cycle.connected || m_cycle.connecting) {
        m_reports.log(
            "----------------Tried to log in, but already connected/connecting------------------");
        return;
    }
    m_cycle.Account += 1;
    const int account = m_cycle.Account;
    if (account > kAccountCount) {
        endCycle();
        return;
    }
    // A list announced before is never announced again.
    m_accountsDialog.Memon[account].set("");
    if (m_cycle.loginRefused[account]) {
        skipRefusedLogin(account);
        checkNow();
        return;
    }
    // A check of the account starts afresh: its red number lasts until now.
    m_cycle.accountError[account] = false;
    m_reports.forgetFailure(account);
    copyAccountIntoWorkingFields(account);
    const bool noUser = m_window.User.get().empty();
    const bool noPass = m_window.Pass.get().empty();
    const bool noPop = m_window.POP.get().empty();
    if (noUser && noPass && noPop) {
        m_report.accounts[account] = CycleReport::Account::NotChecked;
        m_reports.log("No User details for this account.");
        m_reports.log(std::to_string(account));
        checkNow();
        return;
    }
    if (noUser || noPass || noPop) {
        m_report.accounts[account] = CycleReport::Account::Failed;
        reportIncompleteAccount(account);
        checkNow();
        return;
    }
    openConnection(account);
}

void CheckCycle::checkNowPressed() {
    m_cycle.loginRefused.fill(false);
    checkNow();
}

// The account keeps its red number and its refusal as the reason it failed.
void CheckCycle::skipRefusedLogin(int account) {
    m_report.accounts[account] = CycleReport::Account::Failed;
    m_reports.log("Account #" + std::to_string(account) +
                  " not checked: the server refused its login. Edit the account or press "
                  "\"Check now!\" to try it again.");
}

void CheckCycle::copyAccountIntoWorkingFields(int account) {
    m_window.User.set(m_window.accountUser(account).get());
    m_window.Pass.set(m_window.accountPass(account).get());
    m_window.POP.set(m_window.accountPop(account).get());
}

void CheckCycle::reportIncompleteAccount(int account) {
    const char* missing = m_window.User.get().empty()   ? "Enter User Name"
                          : m_window.Pass.get().empty() ? "Enter Password"
                                                        : "Enter POP Host Name";
    const std::string message = accountTag(account) + missing;
    m_reports.accountFailure(account, message);
    m_cycle.accountError[account] = true;
    m_reports.accountError(message);
    m_cycle.settingsOk = false;
    // The account-1 area opens whichever account is incomplete.
    m_advancedOptions.openOptionsArea();
}

void CheckCycle::openConnection(int account) {
    m_cycle.connecting = true;
    m_report.accounts[account] = CycleReport::Account::Failed;  // until the session says otherwise
    m_reports.caption(accountTag(account) + "(" + m_window.User.get() +
                      ")Checking for new mail - Mivo");
    m_seenMail.beforeCheck(account);
    m_session.begin();
    m_window.TickCount = 0;
    tick();
    m_cycle.transportSlot = m_transport.TcpOpenSlot([this](TcpEvent event, std::string_view data) {
        return handleTransportEvent(event, data);
    });
    const ParsedPopTarget parsed = parsePopTarget(m_window.POP.get());
    if (!parsed.ok()) {
        closeConnection("Bad POP host (" + parsed.error + ")", false, true);
        return;
    }
    const PopTarget& target = parsed.target;
    std::optional<TlsSettings> tls;
    m_startTls.forget();
    if (target.security != PopSecurity::Plain) {
        tls = TlsSettings{.serverName = target.host, .pinnedSha256 = target.pinnedSha256};
    }
    if (target.security == PopSecurity::StartTls) {
        m_startTls.expect(*tls);
        tls.reset();
    }
    if (m_cycle.transportSlot < 0 ||
        m_transport.TcpConnect(m_cycle.transportSlot, target.host, target.port, tls) == 0) {
        // Failed at once: told like a refused connection, and the cycle
        // stops at this account until the next Check now.
        closeConnection("Select failed " + m_transport.TcpErrorText(), false);
    }
}

std::size_t CheckCycle::handleTransportEvent(TcpEvent event, std::string_view data) {
    switch (event) {
        case TcpEvent::Connected:
            if (m_startTls.takeConnected()) {
                break;
            }
            connectionMade();
            if (const auto greeting = m_startTls.takeGreeting()) {
                lineReceived(*greeting);
            }
            break;
        case TcpEvent::Line:
            if (!m_startTls.takeLine(data)) {
                lineReceived(data);
            }
            break;
        case TcpEvent::Closed:
            closeConnection(data, true, m_transport.TcpSecurityOf(m_cycle.transportSlot).failed);
            break;
        case TcpEvent::Bytes:
            return bytesReceived(data);
    }
    return 0;
}

void CheckCycle::connectionMade() {
    const TcpSecurity& security = m_transport.TcpSecurityOf(m_cycle.transportSlot);
    if (!security.text.empty()) {
        m_reports.log(security.text);
    }
    m_reports.log("###Got Connection");
    m_cycle.connected = true;
    m_cycle.connecting = false;
    m_watch.watchSilence(silenceLimitMilliseconds());
    m_watch.awaitReply(ReplyPace::Whole);  // the greeting
    m_session.connected();
}

void CheckCycle::lineReceived(std::string_view line) {
    m_watch.sawLine();
    m_session.lineReceived(line);
    if (m_session.receivingMessage()) {
        m_transport.TcpPassBytes(m_cycle.transportSlot, true);
    }
}

std::size_t CheckCycle::bytesReceived(std::string_view bytes) {
    if (bytes.find('\n') != std::string_view::npos) {
        m_watch.sawLine();
    }
    const std::size_t taken = m_session.bytesReceived(bytes);
    if (!m_session.receivingMessage()) {
        m_transport.TcpPassBytes(m_cycle.transportSlot, false);
    }
    return taken;
}

void CheckCycle::sessionEnded(int account, SessionOutcome outcome) {
    if (outcome.result == SessionOutcome::Result::Checked) {
        m_report.accounts[account] = CycleReport::Account::Checked;
    }
    if (m_cycle.connected) {
        // The conversation is over; the server's close normally follows at
        // once, and a server that keeps the line open is closed here.
        m_watch.watchClose(kCloseGraceMilliseconds);
    }
}

int CheckCycle::silenceLimitMilliseconds() const {
    return static_cast<int>(std::min<std::int64_t>(
        std::int64_t{kSilentTicks} * m_cycle.tickMilliseconds, kMaxSilenceMilliseconds));
}

void CheckCycle::watchExpired() {
    if (m_session.isOver()) {
        closeConnection({}, true);
    } else {
        closeConnection("Select failed " + socketErrorText(socket_error::TimedOut), true);
    }
}

void CheckCycle::closeConnection(std::string_view errorText, bool moveOn, bool secure) {
    const int account = m_cycle.Account;
    m_startTls.forget();
    m_session.connectionEnded();
    if (secure) {
        reportSecurityFailure(account, errorText);
    } else if (m_cycle.connecting && !m_cycle.greetedBefore(account)) {
        // Never reached this account's server: the account is blamed.
        const std::string line = "Account #" + std::to_string(account) +
                                 " Error while opening connection to host (" + m_window.POP.get() +
                                 ")";
        m_cycle.accountError[account] = true;
        m_reports.accountError(line);
        m_reports.log(line);
        m_cycle.settingsOk = false;
    }
    m_reports.log("###Channel Closing");
    const std::string accountsFault =
        "(" + m_window.User.get() + ")" + std::string(errorText) + " - Mivo";
    if (secure) {
        m_reports.accountFailure(account, accountsFault);
    } else if (errorText.size() <= 1) {
        m_cycle.settingsOk = true;
        if (m_report.accounts[account] == CycleReport::Account::Failed &&
            m_reports.failureOf(account).empty()) {
            // The server hung up before the conversation was over, without
            // a word of why: the account was not checked all the same.
            m_reports.accountFailure(account, "Network Inactive - Mivo");
        }
    } else if (m_cycle.greetedBefore(account)) {
        // The server answered before: blame the network, not the account.
        m_reports.accountFailure(account, "Network Inactive - Mivo");
        m_cycle.settingsOk = true;
    } else {
        m_reports.accountFailure(account, accountsFault);
    }
    dropConnection();
    m_reports.log(" TCP closed");
    if (m_cycle.terminating) {
        m_ui.terminateApplication();
    }
    m_window.TickCount = 0;
    tick();
    if (moveOn) {
        checkNow();
    }
}

// Never taken for a network hiccup: a certificate that does not check out
// may be someone in the middle, and the user has to see it.
void CheckCycle::reportSecurityFailure(int account, std::string_view errorText) {
    const std::string line = "Account #" + std::to_string(account) + " " + std::string(errorText);
    m_cycle.accountError[account] = true;
    m_reports.accountError(line);
    m_reports.log(line);
    const std::string& fingerprint =
        m_transport.TcpSecurityOf(m_cycle.transportSlot).peerFingerprint;
    if (!fingerprint.empty()) {
        m_reports.log("TLS: the server's certificate is #sha256=" + fingerprint);
    }
}

void CheckCycle::dropConnection() {
    m_watch.stop();
    m_session.connectionDropped();
    m_transport.TcpClose(m_cycle.transportSlot);
    m_cycle.connected = false;
    m_cycle.connecting = false;
}

void CheckCycle::tick() {
    m_timer.advance();
    if (m_window.TickCount == kConnectTimeoutTick && m_cycle.connecting && !m_cycle.connected) {
        connectTimeout();
    }
    if (m_window.TickCount > CheckTimer::kTicksPerInterval) {
        m_window.TickCount = 0;
        if (m_window.CheckBox2.get() && m_cycle.settingsOk) {
            timedStart();
        }
    }
}

// The cycle stays at this account until the next Check now. Unlike the other
// ends of a connection this one never ends the program: a close asked for
// meanwhile is asked again.
void CheckCycle::connectTimeout() {
    m_reports.log("Opening TCP port to POP3 Error!(Timeout)");
    m_reports.accountFailure(m_cycle.Account, "Opening TCP port to POP3 Error!(Timeout)");
    dropConnection();
}

void CheckCycle::timedStart() {
    m_reports.log("Timer initiated mail check.");
    m_reports.log("Time: ");
    m_reports.log(timeText(m_clock.now()));
    m_reports.caption(accountTag(m_cycle.Account + 1) + "Checking for new mail - Mivo");
    m_reports.log("checking email...");
    checkNow();
}

std::string CheckCycle::lastFailure() const {
    std::string failure;
    for (int account = 1; account <= kAccountCount; ++account) {
        if (m_report.accounts[account] == CycleReport::Account::Failed &&
            !m_reports.failureOf(account).empty()) {
            failure = m_reports.failureOf(account);
        }
    }
    return failure;
}

void CheckCycle::endCycle() {
    m_summary.build(lastFailure());
    // What this cycle saw stays seen, whatever happens to the program next.
    m_seenMail.save();
    CycleReport report = m_report;
    report.newMail = !m_window.Memo4.get().empty();
    m_report = CycleReport{};
    for (const auto& observer : m_cycleObservers) {
        observer(report);
    }
}

void CheckCycle::reset() {
    if (m_cycle.connected || m_cycle.connecting) {
        dropConnection();  // which clears both flags
    }
    m_cycle.Account = 0;
    m_cycle.newMailCount = 0;
    for (int slot = 0; slot <= kAccountCount; ++slot) {
        m_cycle.numonser[slot] = 0;
        m_cycle.lastNumKnown[slot] = 0;
        m_cycle.seenIds[slot].reset();
        m_cycle.accountError[slot] = false;
        m_cycle.CCW[slot] = true;
        m_cycle.loginRefused[slot] = false;
        m_reports.forgetFailure(slot);
    }
    m_seenMail.forget();
    m_report = CycleReport{};
    if (m_window.NewMailOpen) {
        m_ui.hideWindow(WindowId::NewMail);
    }
    if (m_window.advancedOptionsOpen) {
        m_ui.hideWindow(WindowId::AdvancedOptions);
    }
    if (m_window.logViewerOpen) {
        m_ui.hideWindow(WindowId::LogViewer);
    }
    m_window.NewMailOpen = false;
    m_window.advancedOptionsOpen = false;
    m_window.logViewerOpen = false;
    tick();
    m_reports.caption("Mivo");
}

}  // namespace mivo
