#include "console/CycleOutcome.h"

#include <algorithm>

namespace mivo {

CycleStatus cycleStatus(const CycleReport& report) {
    if (report.newMail) {
        return CycleStatus::NewMail;
    }
    const bool anyFailed = std::any_of(
        report.accounts.begin(), report.accounts.end(),
        [](CycleReport::Account account) { return account == CycleReport::Account::Failed; });
    return anyFailed ? CycleStatus::NoNewMailAndAccountFailed : CycleStatus::NoNewMail;
}

bool stoppedAtAccount(const CycleState& cycle) {
    return cycle.Account >= 1 && cycle.Account <= kAccountCount && !cycle.connected &&
           !cycle.connecting;
}

}  // namespace mivo
