#include "state/SeenMail.h"

#include <utility>

namespace mivo {

SeenMail::SeenMail(MainWindowModel& window, CycleState& cycle, Log& log)
    : m_window(window), m_cycle(cycle), m_log(log) {}

std::optional<std::string> SeenMail::keepIn(StatePort& port) {
    m_port = &port;
    m_writable = false;
    const StoredText stored = port.readState();
    std::optional<std::string> failure;
    switch (stored.state) {
        case StoredText::State::Absent:
            m_counts.clear();
            break;
        case StoredText::State::Present:
            if (const std::optional<KnownCountsError> error =
                    parseKnownCounts(stored.text, m_counts)) {
                failure = error->message;
            } else {
                m_writtenText = stored.text;
            }
            break;
        case StoredText::State::Unreadable:
        case StoredText::State::Ignored:
            failure = stored.reason;
            break;
    }
    if (failure) {
        m_counts.clear();
        m_log.append(
            "Seen mail could not be read, all of it counts as new and nothing will be "
            "saved: " +
            *failure);
        return failure;
    }
    m_writable = true;
    return std::nullopt;
}

std::optional<AccountKey> SeenMail::keyOf(int account) const {
    AccountKey key{m_window.accountUser(account).get(), m_window.accountPop(account).get()};
    if (key.user.empty() || key.host.empty()) {
        return std::nullopt;
    }
    return key;
}

void SeenMail::beforeCheck(int account) {
    std::optional<AccountKey> key = keyOf(account);
    std::optional<AccountKey>& countedFor = m_countedFor[account];
    if (!key || key == countedFor) {
        return;
    }
    if (countedFor) {
        // The mailbox the account named before keeps what was seen in it,
        // should the account come back to it; this one has its own, or none
        // yet.
        m_counts[*countedFor] = seenBy(account);
        takeSeen(account, *key);
    } else if (m_counts.contains(*key)) {
        // The account's first check in this run goes on from the last run.
        takeSeen(account, *key);
    }
    countedFor = std::move(key);
}

SeenMessages SeenMail::seenBy(int account) const {
    return SeenMessages{m_cycle.lastNumKnown[account], m_cycle.seenIds[account]};
}

void SeenMail::takeSeen(int account, const AccountKey& key) {
    const auto kept = m_counts.find(key);
    SeenMessages seen = kept == m_counts.end() ? SeenMessages{} : kept->second;
    m_cycle.lastNumKnown[account] = seen.count;
    m_cycle.seenIds[account] = std::move(seen.ids);
}

void SeenMail::keepCounts() {
    for (int account = 1; account <= kAccountCount; ++account) {
        if (const std::optional<AccountKey>& key = m_countedFor[account]) {
            m_counts[*key] = seenBy(account);
        }
    }
}

void SeenMail::save() {
    keepCounts();
    // Nothing the uninstaller removed is written back.
    if (m_port == nullptr || !m_writable || m_window.uninstalling) {
        return;
    }
    std::string text = formatKnownCounts(m_counts);
    if (m_writtenText == text) {
        return;
    }
    m_writeFailure = m_port->writeState(text);
    if (m_writeFailure) {
        if (!m_writeFailureReported) {
            m_writeFailureReported = true;
            m_log.append("Seen mail could not be saved: " + *m_writeFailure);
        }
        return;
    }
    m_writeFailureReported = false;
    m_writtenText = std::move(text);
}

void SeenMail::forget() {
    m_counts.clear();
    // Each account keeps the mailbox it names now, with nothing seen in it.
    for (int account = 1; account <= kAccountCount; ++account) {
        m_countedFor[account] = keyOf(account);
    }
    save();
}

}  // namespace mivo
