#include "StoredSettingsText.h"

#include "FakePorts.h"
#include "settings/PasswordScrambling.h"

namespace mivo::test {

std::string scrambledPassword(const std::string& password) {
    FakeRandom random;
    random.bytes = {7, 1, 200, 13, 99, 42, 0, 255, 128, 64};
    return scramblePassword(password, random).value();
}

std::string settingsText(const std::vector<StoredAccount>& accounts,
                         const std::string& extraLines) {
    std::string text = "version=45\r\nTimeInterval=1\r\nS4=NO\r\n";
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        text += "UN" + n + "=" + accounts[i].user + "\r\n";
        text += "PW" + n + "=" + scrambledPassword(accounts[i].password) + "\r\n";
        text += "PO" + n + "=" + accounts[i].host + "\r\n";
        text += "CCW" + n + "=NO\r\n";
    }
    return text + extraLines;
}

}  // namespace mivo::test
