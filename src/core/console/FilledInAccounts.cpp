#include "console/FilledInAccounts.h"

#include "model/CycleState.h"

namespace mivo {

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

}  // namespace mivo
