#include "model/MainWindowModel.h"

#include <stdexcept>

namespace mivo {

namespace {
void requireAccount(int account) {
    if (account < 1 || account > 8) {
        throw std::out_of_range("account number out of range");
    }
}
}  // namespace

MainWindowModel::MainWindowModel() {
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        SBn[rule].items.assign(kHeaderFieldNames.begin(), kHeaderFieldNames.end());
    }
}

TextField& MainWindowModel::accountUser(int account) {
    requireAccount(account);
    return account == 1 ? UserName : USERn[account];
}

TextField& MainWindowModel::accountPass(int account) {
    requireAccount(account);
    return account == 1 ? UserPass : PASSn[account];
}

TextField& MainWindowModel::accountPop(int account) {
    requireAccount(account);
    return account == 1 ? PopServ : POPn[account];
}

}  // namespace mivo
