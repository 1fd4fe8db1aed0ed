#include "settings/SettingsStore.h"

#include <algorithm>
#include <cctype>

#include "settings/LegacySettingsFile.h"
#include "settings/PasswordScrambling.h"
#include "settings/SettingsText.h"
#include "text/IntegerText.h"
#include "text/MemoText.h"

namespace mivo {

namespace {

constexpr const char* kUnavailable = "Reg Settings Unavailable.";

std::string numbered(const char* key, int number) {
    return key + std::to_string(number);
}

// A value is one line; a line break typed or pasted into a field must not
// start a line of its own in the text.
std::string oneLine(std::string value) {
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

class TextBuilder {
public:
    void text(const std::string& key, const std::string& value) {
        m_text.append(key).append("=").append(oneLine(value)).append("\r\n");
    }
    void yesNo(const std::string& key, bool value) { text(key, settings::yesNo(value)); }
    void number(const std::string& key, int value) { text(key, std::to_string(value)); }
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
    CycleState& cycle = m_parts.cycle;
    const auto value = [&text](const std::string& key) {
        return std::string(settings::valueOf(text, key));
    };
    const auto yes = [&text](const std::string& key) {
        return settings::isYes(settings::valueOf(text, key));
    };

    m_parts.advancedOptions.toggleOptionsArea();
    const std::string interval = value("TimeInterval");
    if (window.Edit1.get() == interval) {
        // An unchanged text runs no change handler, yet the interval must be
        // put in force whatever minutes are stored.
        m_parts.checkTimer.applyInterval();
    } else {
        window.Edit1.set(interval);
    }
    m_parts.log.append("loading...");
    for (int account = 1; account <= kAccountCount; ++account) {
        window.accountUser(account).set(value(numbered("UN", account)));
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        const std::string scrambled = value(numbered("PW", account));
        if (std::optional<std::string> password = unscramblePassword(scrambled)) {
            m_parts.log.append("PTF");
            // Only the letters before a line end made the password.
            m_passwords[account] =
                StoredPassword{*password, scrambled.substr(0, scrambled.find_first_of("\r\n"))};
            window.accountPass(account).set(*password);
        } else {
            m_parts.log.append("PTT");
            window.accountPass(account).set("");
        }
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        window.accountPop(account).set(value(numbered("PO", account)));
    }
    window.NewMLevelNumber.set(yes("S1"));
    window.StartMinimized.set(yes("S2"));
    window.CheckBox1.set(yes("S3"));
    window.CheckBox2.set(yes("S4"));
    window.NoticeAll = yes("S5");
    cycle.CCW[1] = yes("S6");
    for (int account = 1; account <= kAccountCount; ++account) {
        cycle.CCW[account] = yes(numbered("CCW", account));
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.Urgentn[rule].set(yes(numbered("URG", rule)));
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.DLn[rule].set(yes(numbered("DL", rule)));
        window.DELn[rule].set(yes(numbered("DEL", rule)));
        // Settings saved before a program was ever chosen hold the field's
        // design text, which names no program.
        const std::string program = value(numbered("RunFile", rule));
        window.RunFilen[rule].set(program == numbered("RunFile", rule) ? "" : program);
    }
    window.TEMPDIR.set(value("TEMPDIR"));
    window.Media.set(value("Media"));
    if (window.Media.get().empty()) {
        std::string path = executablePath();
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (const std::size_t at = path.find("mivo.exe"); at != std::string::npos) {
            window.Media.set(path.substr(0, at) + "bounce.mpg");
        }
    }
    window.uniqueFile = readDecimalInteger(value("uniqueFile"));
    window.StartMinimized.set(yes("StartMinimized"));
    window.UseRule = value("RULES") == "Use Rules";
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.SBn[rule].itemIndex.set(
            settings::ruleFieldIndex(value(numbered("RULEindex", rule))));
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.En[rule].set(value(numbered("RULEstr", rule)));
    }
    // The two key names are the other way round from what they hold, and
    // every stored text relies on it.
    window.taskbarButton = yes("Show_as_icon");
    window.trayIcon = yes("Show_as_button");
    window.EmailProgram.set(value("EmailProgram"));
    if (value("version").empty()) {
        window.taskbarButton = true;
        window.trayIcon = true;
    }
    m_parts.presence.applyPresence();
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

std::string SettingsStore::composeText() {
    MainWindowModel& window = m_parts.window;
    const CycleState& cycle = m_parts.cycle;
    TextBuilder text;
    const std::optional<std::string> program = m_parts.port.programPath();
    if (!program) {
        m_parts.log.append("OFailure :-(");
        m_parts.log.append("QFailure :-(");
        m_parts.log.append("CFailure :-(");
    }
    text.text("EXENAME", program.value_or(""));
    text.yesNo("Show_as_icon", window.taskbarButton);
    text.yesNo("Show_as_button", window.trayIcon);
    text.text("version", std::to_string(4) + std::to_string(5));
    text.text("TimeInterval", window.Edit1.get());
    for (int account = 1; account <= kAccountCount; ++account) {
        text.text(numbered("UN", account), window.accountUser(account).get());
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        text.text(numbered("PW", account), storedPassword(account));
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        text.text(numbered("PO", account), window.accountPop(account).get());
    }
    text.yesNo("S1", window.NewMLevelNumber.get());
    text.yesNo("S2", window.StartMinimized.get());
    text.yesNo("S3", window.CheckBox1.get());
    text.yesNo("S4", window.CheckBox2.get());
    text.yesNo("S5", window.NoticeAll);
    text.yesNo("S6", cycle.CCW[1]);
    for (int account = 1; account <= kAccountCount; ++account) {
        text.yesNo(numbered("CCW", account), cycle.CCW[account]);
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        text.yesNo(numbered("URG", rule), window.Urgentn[rule].get());
    }
    text.yesNo("StartMinimized", window.StartMinimized.get());
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        text.yesNo(numbered("DL", rule), window.DLn[rule].get());
        text.yesNo(numbered("DEL", rule), window.DELn[rule].get());
        text.text(numbered("RunFile", rule), window.RunFilen[rule].get());
    }
    text.text("TEMPDIR", window.TEMPDIR.get());
    text.text("Media", window.Media.get());
    text.number("uniqueFile", window.uniqueFile);
    text.text("RULES", window.UseRule ? "Use Rules" : "Ignore Rules");
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        text.number(numbered("RULEindex", rule), window.SBn[rule].itemIndex.get());
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        text.text(numbered("RULEstr", rule), window.En[rule].get());
    }
    text.text("EmailProgram", window.EmailProgram.get());
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
