#pragma once
// The run-time state of the check cycle and the POP3 session: the account
// being checked, the per-account counters and flags, and the process-wide
// connection flags. Indexed by account number 1..8; index 0 belongs to none.

#include <algorithm>
#include <array>
#include <optional>

#include "model/MessageIds.h"

namespace mivo {

constexpr int kAccountCount = 8;

struct CycleState {
    template <typename T>
    using PerAccount = std::array<T, kAccountCount + 1>;

    int Account = 0;  // 0 idle, 1..8 being checked or stopped at, 9 past the last
    PerAccount<int> numonser{};
    PerAccount<int> lastNumKnown{};
    // The ids of the messages seen, for an account whose server listed them
    // at its last check; without them, messages 1 to lastNumKnown are the
    // ones seen.
    PerAccount<std::optional<MessageIds>> seenIds{};
    PerAccount<bool> accountError{};
    PerAccount<bool> CCW{};  // the account's server has greeted before
    // The server answered the account's USER or PASS with "-". Timed checks
    // leave the account alone until the user edits it, presses Check now or
    // Reset: sending a refused password again and again gets accounts locked.
    PerAccount<bool> loginRefused{};
    int newMailCount = 0;
    bool connected = false;
    bool connecting = false;
    bool settingsOk = true;
    bool terminating = false;
    bool urgent = false;  // set by urgent rules once rules are in use
    int transportSlot = -1;
    // Timer1's interval: Edit1's minutes over 200 ticks once applied, the
    // window's design-time 60 s before.
    int tickMilliseconds = 60000;

    bool greetedBefore(int account) const { return CCW[account]; }
    bool anyAccountError() const {
        return std::any_of(accountError.begin() + 1, accountError.end(),
                           [](bool error) { return error; });
    }
};

}  // namespace mivo
