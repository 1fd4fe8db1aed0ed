#pragma once
// The accounts dialog TMultiPOP as the check writes it: the error list, each
// account's new-mail list between checks, and which account numbers are
// painted red.

#include <array>

#include "cycle/CycleState.h"
#include "fields/Field.h"

namespace mivo {

struct AccountsDialogModel {
    TextField Errors;
    std::array<TextField, kAccountCount + 1> Memon;  // Memo1..Memo8
    CycleState::PerAccount<bool> numberRed{};

    // Paints account numbers red where the account error flag is set; done
    // whenever the dialog is shown or clicked.
    void paintAccountNumbers(const CycleState& cycle) { numberRed = cycle.accountError; }
};

}  // namespace mivo
