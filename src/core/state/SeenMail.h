#pragma once
// The messages of each mailbox the program has already seen, remembered by
// user name and host: across runs through a state port, and within a run
// when an account is edited to name another mailbox. Without it every start
// would announce all mail on the server again and run the rules on it again.
//
// Call order: keepIn() once (or never, to remember within this run only),
// beforeCheck() as each account's check starts, save() after each cycle,
// forget() on Reset.

#include <optional>
#include <string>

#include "log/Log.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "ports/StatePort.h"
#include "state/KnownCounts.h"

namespace mivo {

class SeenMail {
public:
    SeenMail(MainWindowModel& window, CycleState& cycle, Log& log);

    // Reads what `port` holds; from then on save() writes there. Returns why
    // the text cannot be used (also logged): the run then starts as if new
    // and never writes over the text, which may be worth more than a count.
    std::optional<std::string> keepIn(StatePort& port);

    // Account `account` is about to be checked: when it is another mailbox than the one its count
    // belongs to, it takes the count kept for that mailbox, or none.
    void beforeCheck(int account);

    // Keeps every account's count and writes them all, unless the text is
    // unchanged. A failure is logged once until a write succeeds again.
    void save();

    // Reset: every mailbox counts as never seen, now and after a restart.
    void forget();

    // Why the last write failed; nothing when it succeeded or none was made.
    const std::optional<std::string>& writeFailure() const { return m_writeFailure; }

private:
    std::optional<AccountKey> keyOf(int account) const;
    SeenMessages seenBy(int account) const;
    // Account `account` goes on from what was seen in mailbox `key`.
    void takeSeen(int account, const AccountKey& key);
    void keepCounts();

    MainWindowModel& m_window;
    CycleState& m_cycle;
    Log& m_log;
    StatePort* m_port = nullptr;
    bool m_writable = false;
    KnownCounts m_counts;
    // The mailbox each account's count in the cycle state belongs to.
    CycleState::PerAccount<std::optional<AccountKey>> m_countedFor{};
    std::optional<std::string> m_writtenText;
    std::optional<std::string> m_writeFailure;
    bool m_writeFailureReported = false;
};

}  // namespace mivo
