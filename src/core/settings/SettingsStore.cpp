#include "settings/SettingsStore.h"

#include <algorithm>
#include <cctype>

#include "settings/LegacySettingsFile.h"
#include "settings/PasswordScrambling.h"
#include "settings/SettingsText.h"
#include "text/MemoText.h"

namespace mivo {

namespace {

constexpr const char* kUnavailable = "Reg Settings Unavailable.";

// A value is one line; a line break typed or pasted into a field must not
// start a line of its own in the text.
std::string oneLine(std::string value) {
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

class TextBuilder {
public:
    void add(const std::string& key, const std::string& value) {
        m_text.append(key).append("=").append(oneLine(value)).append("\r\n");
    }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

}  // namespace

SettingsStore::SettingsStore(SettingsParts parts) : m_parts(parts) {}

void SettingsStore::resetRunTimeState() {
    MainWindowModel& window = m_parts.window;
    window.TickCount = 0;
    window.PacketBuffer.set("");
    window.Memo2.set("0 - nothing happening");
    window.Memo4.set("");
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.SBn[rule].itemIndex.set(0);
    }
}

void SettingsStore::load(const std::vector<std::string>& arguments) {
    MainWindowModel& window = m_parts.window;
    if (window.uninstalling) {
        return;
    }
    resetRunTimeState();
    m_parts.transport.TcpInit();
    CycleState& cycle = m_parts.cycle;
    cycle.numonser.fill(0);
    cycle.lastNumKnown.fill(0);
    cycle.seenIds.fill(std::nullopt);
    cycle.accountError.fill(false);
    cycle.CCW.fill(false);

    if (arguments.size() == 3) {
        window.UserName.set(arguments[0]);
        window.UserPass.set(arguments[1]);
        window.PopServ.set(arguments[2]);
        window.saveAllowed = false;
        // Nothing else sets the minutes box in this run, so nothing would
        // put the interval in force: the timer would keep its design tick
        // of a minute, a check every 201 minutes.
        m_parts.checkTimer.applyInterval();
        return;
    }

    const StoredText stored = m_parts.port.readSettings();
    if (stored.state == StoredText::State::Unreadable) {
        // Starting from the defaults is better than not starting, but the
        // text that could not be read must survive this run untouched.
        m_unreadableReason = stored.reason;
        window.saveAllowed = false;
        m_parts.log.append("Settings could not be read, nothing will be saved: " + stored.reason);
    }
    const bool present = stored.state == StoredText::State::Present;
    const std::string& result = present ? stored.text : std::string(kUnavailable);
    if (present) {
        m_storedText = stored.text;
    }
    window.Memo6.set(result);
    m_parts.log.append(window.SET.get());
    window.SET.edit([&result](std::string& set) {
        for (const std::string_view line : settings::storedLines(result)) {
            memo::addLine(set, line);
        }
    });
    if (present) {
        // A copy: the lines are read while the controls' handlers run.
        loadStoredText(std::string(window.SET.get()));
    } else {
        loadLegacySettings(m_parts);
    }
}

void SettingsStore::loadStoredText(const std::string& text) {
    MainWindowModel& window = m_parts.window;
    const auto value = [&text](std::string_view key) { return settings::valueOf(text, key); };

    m_parts.advancedOptions.toggleOptionsArea();
    const std::string interval(value("TimeInterval"));
    if (window.Edit1.get() == interval) {
        // An unchanged text runs no change handler, yet the interval must be
        // put in force whatever minutes are stored.
        m_parts.checkTimer.applyInterval();
    } else {
        window.Edit1.set(interval);
    }
    m_parts.log.append("loading...");
    for (const SettingsKey& key : keys()) {
        if (key.load) {
            key.load(value(key.name));
        }
    }
    if (window.Media.get().empty()) {
        std::string path = executablePath();
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (const std::size_t at = path.find("mivo.exe"); at != std::string::npos) {
            window.Media.set(path.substr(0, at) + "bounce.mpg");
        }
    }
    if (value("version").empty()) {
        window.taskbarButton = true;
        window.trayIcon = true;
    }
    m_parts.presence.applyPresence();
}

void SettingsStore::loadPassword(int account, std::string_view scrambled) {
    if (std::optional<std::string> password = unscramblePassword(scrambled)) {
        m_parts.log.append("PTF");
        // Only the letters before a line end made the password.
        m_passwords[account] = StoredPassword{
            *password, std::string(scrambled.substr(0, scrambled.find_first_of("\r\n")))};
        m_parts.window.accountPass(account).set(*password);
    } else {
        m_parts.log.append("PTT");
        m_parts.window.accountPass(account).set("");
    }
}

std::vector<SettingsKey> SettingsStore::keys() {
    return settingsKeys(
        m_parts.window, m_parts.cycle,
        StoreKeyValues{.programPath = [this] { return programPathForSaving(); },
                       .scrambledPassword = [this](int account) { return storedPassword(account); },
                       .loadPassword =
                           [this](int account, std::string_view scrambled) {
                               loadPassword(account, scrambled);
                           }});
}

std::string SettingsStore::executablePath() {
    return m_parts.port.programPath().value_or("");
}

std::string SettingsStore::storedPassword(int account) {
    const std::string& password = m_parts.window.accountPass(account).get();
    std::optional<StoredPassword>& remembered = m_passwords[account];
    if (remembered && remembered->password == password) {
        return remembered->scrambled;
    }
    std::optional<std::string> scrambled = scramblePassword(password, m_parts.random);
    if (!scrambled) {
        m_parts.log.append("The password of account " + std::to_string(account) +
                           " is too long to be stored.");
        return {};
    }
    remembered = StoredPassword{password, *scrambled};
    return *scrambled;
}

std::string SettingsStore::programPathForSaving() {
    const std::optional<std::string> program = m_parts.port.programPath();
    if (!program) {
        m_parts.log.append("OFailure :-(");
        m_parts.log.append("QFailure :-(");
        m_parts.log.append("CFailure :-(");
    }
    return program.value_or("");
}

std::string SettingsStore::composeText() {
    TextBuilder text;
    for (const SettingsKey& key : keys()) {
        text.add(key.name, key.save());
    }
    return text.take();
}

void SettingsStore::save() {
    MainWindowModel& window = m_parts.window;
    if (!window.saveAllowed || window.uninstalling) {
        return;
    }
    std::string text = composeText();
    window.SET.set(text);
    if (m_storedText == text) {
        return;
    }
    if (const std::optional<std::string> failure = m_parts.port.writeSettings(text)) {
        if (!m_writeFailureReported) {
            m_writeFailureReported = true;
            m_parts.log.append("Settings could not be saved: " + *failure);
        }
        return;
    }
    m_writeFailureReported = false;
    m_storedText = std::move(text);
}

}  // namespace mivo
