#pragma once
// Loads every stored option once at start-up and writes them all back as one
// settings text. There is no settings object: each option lives in a control
// of the main window or in one of its process-wide flags, and the store
// translates between that live state and the text.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cycle/CheckTimer.h"
#include "launch/Launcher.h"
#include "log/Log.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "ports/RandomPort.h"
#include "ports/SettingsPort.h"
#include "settings/SettingsKeys.h"
#include "transport/TcpTransport.h"
#include "windows/AdvancedOptions.h"
#include "windows/TaskbarPresence.h"

namespace mivo {

struct SettingsParts {
    MainWindowModel& window;
    CycleState& cycle;
    // What loading puts in force: the interval, the taskbar button and the
    // tray icon, the options area, and the help on a first start.
    CheckTimer& checkTimer;
    TaskbarPresence& presence;
    AdvancedOptions& advancedOptions;
    Launcher& launcher;
    Log& log;
    TcpTransport& transport;
    SettingsPort& port;
    RandomPort& random;
};

class SettingsStore {
public:
    explicit SettingsStore(SettingsParts parts);

    // `arguments` is the command line after the program's name: exactly
    // three give account 1 for this run only, and nothing is loaded or saved.
    void load(const std::vector<std::string>& arguments);

    // Rebuilds the settings text from the live state and stores it. A text
    // equal to the one stored is not written again, and a store that fails is
    // reported in the Log once until a save succeeds again.
    void save();

    // Why the stored settings could not be read, when they could not: this run
    // then starts from the defaults and never writes over them.
    const std::optional<std::string>& unreadableReason() const { return m_unreadableReason; }

    // The text the next save would store.
    std::string composeText();

private:
    void resetRunTimeState();
    void loadStoredText(const std::string& text);
    void loadPassword(int account, std::string_view scrambled);
    std::string storedPassword(int account);
    std::string programPathForSaving();
    std::string executablePath();
    // The settings keys, bound to the state they load and save.
    std::vector<SettingsKey> keys();

    SettingsParts m_parts;
    std::optional<std::string> m_unreadableReason;
    // The text known to be stored, so that a save that changes nothing does
    // not rewrite it.
    std::optional<std::string> m_storedText;
    bool m_writeFailureReported = false;
    // Each account's password with the scrambled form last stored for it: an
    // unchanged password keeps its letters, so an unchanged text stays equal.
    struct StoredPassword {
        std::string password;
        std::string scrambled;
    };
    std::array<std::optional<StoredPassword>, kAccountCount + 1> m_passwords;
};

}  // namespace mivo
