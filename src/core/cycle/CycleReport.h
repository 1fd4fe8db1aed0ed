#pragma once
// What one check cycle found, handed to its observers when it ends: whether
// it announced new mail, and how each account's check went.

#include "model/CycleState.h"

namespace mivo {

struct CycleReport {
    enum class Account {
        NotChecked,  // no details at all
        Checked,     // the mailbox was read to the end
        Failed,      // details incomplete, connection failed, or the server refused
    };
    bool newMail = false;
    CycleState::PerAccount<Account> accounts{};
};

}  // namespace mivo
