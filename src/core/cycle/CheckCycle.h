#pragma once
// Check now, the tick and Reset: walks the eight accounts in turn, validating
// each and opening its connection, and ends the cycle with the new-mail
// summary. The cycle owns every connection's life: it opens it, feeds its
// lines to the POP3 session, times it out and closes it, and moves on.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cycle/CheckTimer.h"
#include "cycle/ConnectionWatch.h"
#include "cycle/CycleReport.h"
#include "cycle/NewMailSummary.h"
#include "launch/Launcher.h"
#include "model/AccountsDialogModel.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "pop3/Pop3Session.h"
#include "pop3/StartTlsOpening.h"
#include "ports/ClockPort.h"
#include "ports/DownloadPort.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "report/CheckReports.h"
#include "state/SeenMail.h"
#include "transport/TcpTransport.h"
#include "windows/AdvancedOptions.h"

namespace mivo {

class CheckCycle {
public:
    static constexpr int kConnectTimeoutTick = 75;
    // A connection without a complete line for 75 ticks is given up, but
    // never later than this: a long interval must not hold a dead server.
    static constexpr int kSilentTicks = 75;
    static constexpr int kMaxSilenceMilliseconds = 60000;
    // How long a server may keep the connection open after answering QUIT.
    static constexpr int kCloseGraceMilliseconds = 2000;

    struct Parts {
        MainWindowModel& window;
        CycleState& cycle;
        AccountsDialogModel& accountsDialog;
        CheckReports& reports;
        AdvancedOptions& advancedOptions;  // the account-1 area
        CheckTimer& timer;
        NewMailSummary& summary;
        TcpTransport& transport;
        TimerPort& timers;
        const ClockPort& clock;
        UiPort& ui;
        DownloadPort& downloads;
        Launcher& launcher;
        SeenMail& seenMail;
    };

    explicit CheckCycle(Parts parts);

    // Starts a cycle or moves it on to the next account; calls itself for
    // every account it skips. An account whose login was refused is skipped
    // until the user edits it, presses "Check now!" or Reset.
    void checkNow();
    // The user pressed "Check now!": refused logins are tried again.
    void checkNowPressed();
    // One tick: the clock, the connect time-out and the timed start.
    void tick();
    // Reset: drops the connection and forgets every count, also the ones
    // kept for the next start.
    void reset();

    // Observers of the end of every cycle, run after the summary is shown.
    void onCycleEnded(std::function<void(const CycleReport&)> observer);

private:
    void copyAccountIntoWorkingFields(int account);
    void reportIncompleteAccount(int account);
    void skipRefusedLogin(int account);
    // What the end of a cycle without new mail shows: why the last account
    // that could not be checked failed; empty when every account was checked.
    std::string lastFailure() const;
    void openConnection(int account);
    void endCycle();

    std::size_t handleTransportEvent(TcpEvent event, std::string_view data);
    void connectionMade();
    void lineReceived(std::string_view line);
    // A message being downloaded, past the line cutting; returns how many
    // of `bytes` were the message's.
    std::size_t bytesReceived(std::string_view bytes);
    void sessionEnded(int account, SessionOutcome outcome);
    void watchExpired();
    void connectTimeout();
    // The connection has ended (or never opened) with `errorText`, empty for
    // an orderly close. `moveOn` goes on to the next account; without it the
    // cycle stops at this one.
    // A failed TLS check (`secure`) is always reported in full: the caption,
    // the accounts dialog and the Log say why, whatever the server did before.
    void closeConnection(std::string_view errorText, bool moveOn, bool secure = false);
    void reportSecurityFailure(int account, std::string_view errorText);
    void reportConnectionFailure(std::string_view errorText);
    // Frees the slot and clears the connection flags: every path that drops
    // a connection ends here.
    void dropConnection();
    void timedStart();
    int silenceLimitMilliseconds() const;

    MainWindowModel& m_window;
    CycleState& m_cycle;
    AccountsDialogModel& m_accountsDialog;
    CheckReports& m_reports;
    AdvancedOptions& m_advancedOptions;
    CheckTimer& m_timer;
    NewMailSummary& m_summary;
    TcpTransport& m_transport;
    const ClockPort& m_clock;
    UiPort& m_ui;
    SeenMail& m_seenMail;
    Pop3Session m_session;
    StartTlsOpening m_startTls;
    ConnectionWatch m_watch;
    CycleReport m_report;
    std::vector<std::function<void(const CycleReport&)>> m_cycleObservers;
};

}  // namespace mivo
