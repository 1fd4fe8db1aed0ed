#pragma once
// The lines of the settings text, in the order a save writes them, each with
// where its value lives: the one table both the save and the load follow.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CycleState.h"
#include "model/MainWindowModel.h"

namespace mivo {

struct SettingsKey {
    std::string name;
    // The value as the settings text holds it.
    std::function<std::string()> save;
    // Puts a stored value in place. Empty for the keys the store loads
    // itself, at the moment their handlers must run.
    std::function<void(std::string_view value)> load;
};

// The values of the table that only the store can give: the program's own
// path and the passwords, which are stored scrambled.
struct StoreKeyValues {
    std::function<std::string()> programPath;
    std::function<std::string(int account)> scrambledPassword;
    std::function<void(int account, std::string_view scrambled)> loadPassword;
};

// All 67 keys in saved order. A load follows the same order, and that order
// matters where setting a control runs its handler: the account fields clear
// account 1's CCW flag, so they come before "S6" and "CCW1"; "S2" and
// "StartMinimized" set the same control, and the later one wins.
std::vector<SettingsKey> settingsKeys(MainWindowModel& window, CycleState& cycle,
                                      StoreKeyValues store);

}  // namespace mivo
