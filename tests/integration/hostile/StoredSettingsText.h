#pragma once
// Settings texts as the desktop program stores them, cut down to what a
// mivo-check run reads: CR LF lines, passwords scrambled.

#include <string>
#include <vector>

namespace mivo::test {

struct StoredAccount {
    std::string user;
    std::string password;
    std::string host;
};

// The stored form of `password`, the same letters at every call.
std::string scrambledPassword(const std::string& password);

// Accounts 1.. with their servers not yet known to have greeted, a one-minute
// interval and timed checks off, followed by `extraLines`.
std::string settingsText(const std::vector<StoredAccount>& accounts,
                         const std::string& extraLines = "");

}  // namespace mivo::test
