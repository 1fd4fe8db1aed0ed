#pragma once
// The accounts dialog TMultiPOP: the eight account rows it edits for the main
// window, the error list the check writes, each account's new-mail list
// between checks, and the colour of each account number.

#include <array>
#include <cstddef>

#include "fields/Field.h"
#include "model/CycleState.h"

namespace mivo {

struct AccountsDialogModel {
    // The window's outer height, without and with the error box.
    static constexpr int kHeightWithoutErrors = 257;
    static constexpr int kHeightWithErrors = 314;

    template <typename T>
    using PerAccount = std::array<T, kAccountCount + 1>;  // numbered 1..8

    PerAccount<TextField> USERn;
    PerAccount<TextField> PASSn;
    PerAccount<TextField> POPn;
    TextField Errors;
    // Where in Errors the error added last begins; the list shows that line
    // when an error is added.
    std::size_t newestErrorStart = 0;
    PerAccount<TextField> Memon;        // Memo1..Memo8, never shown
    PerAccount<Field<bool>> numberRed;  // E1..E8 red rather than black

    Field<int> Height{kHeightWithErrors};
    Field<bool> errorBoxVisible{true};  // ER and Errors together

    // Paints account numbers red where the account error flag is set.
    void paintAccountNumbers(const CycleState& cycle) {
        for (int account = 1; account <= kAccountCount; ++account) {
            numberRed[account].set(cycle.accountError[account]);
        }
    }
};

}  // namespace mivo
