#pragma once
// Between mivo-check's known counts and the engine: which of this run's
// accounts each kept count belongs to, wherever the account stands in the
// settings now.

#include <optional>

#include "console/KnownCounts.h"
#include "cycle/CycleState.h"
#include "mainwindow/MainWindowModel.h"

namespace mivo {

// The key of account 1..8, or nothing when its user name or host is empty.
std::optional<AccountKey> accountKey(MainWindowModel& window, int account);

// Whether any account has a user name, a password or a host.
bool anyAccountFilledIn(MainWindowModel& window);

// Before the first check: an account whose key has a count starts from it,
// as if this program had seen that many messages itself.
void restoreKnownCounts(const KnownCounts& counts, MainWindowModel& window, CycleState& cycle);

// After a check: each account's count of seen messages replaces its key's.
// Counts of accounts that are not in this run are kept, so that runs with
// different accounts can share one file.
void rememberKnownCounts(MainWindowModel& window, const CycleState& cycle, KnownCounts& counts);

}  // namespace mivo
