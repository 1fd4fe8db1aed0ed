#include "console/AccountCounts.h"

namespace mivo {

std::optional<AccountKey> accountKey(MainWindowModel& window, int account) {
    AccountKey key{window.accountUser(account).get(), window.accountPop(account).get()};
    if (key.user.empty() || key.host.empty()) {
        return std::nullopt;
    }
    return key;
}

bool anyAccountFilledIn(MainWindowModel& window) {
    for (int account = 1; account <= kAccountCount; ++account) {
        if (!window.accountUser(account).get().empty() ||
            !window.accountPass(account).get().empty() ||
            !window.accountPop(account).get().empty()) {
            return true;
        }
    }
    return false;
}

void restoreKnownCounts(const KnownCounts& counts, MainWindowModel& window, CycleState& cycle) {
    for (int account = 1; account <= kAccountCount; ++account) {
        if (const std::optional<AccountKey> key = accountKey(window, account)) {
            if (const auto known = counts.find(*key); known != counts.end()) {
                cycle.lastNumKnown[account] = known->second;
            }
        }
    }
}

void rememberKnownCounts(MainWindowModel& window, const CycleState& cycle, KnownCounts& counts) {
    for (int account = 1; account <= kAccountCount; ++account) {
        if (std::optional<AccountKey> key = accountKey(window, account)) {
            counts[std::move(*key)] = cycle.lastNumKnown[account];
        }
    }
}

}  // namespace mivo
