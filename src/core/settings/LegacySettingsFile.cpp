#include "settings/LegacySettingsFile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "settings/PasswordScrambling.h"
#include "settings/SettingsText.h"

namespace mivo {

namespace {

// The file's lines as a text-mode reader sees them: each ends at its first
// CR or LF, and a last line without a line end still counts.
std::vector<std::string_view> fileLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        lines.push_back(line.substr(0, line.find('\r')));
        start = end + 1;
    }
    return lines;
}

class LineReader {
public:
    explicit LineReader(std::string_view text) : m_lines(fileLines(text)) {}
    // The next line, or nothing at the end of the file.
    std::optional<std::string_view> next() {
        if (m_next >= m_lines.size()) {
            return std::nullopt;
        }
        return m_lines[m_next++];
    }

private:
    std::vector<std::string_view> m_lines;
    std::size_t m_next = 0;
};

void readLines(SettingsParts& parts, std::string_view text) {
    MainWindowModel& window = parts.window;
    LineReader reader(text);
    const auto toText = [&reader](TextField& field) {
        if (const auto line = reader.next()) {
            field.set(std::string(*line));
        }
    };
    const auto toCheck = [&reader](CheckField& field) {
        if (const auto line = reader.next()) {
            field.set(settings::isYes(*line));
        }
    };
    const auto toFlag = [&reader](bool& flag) {
        if (const auto line = reader.next()) {
            flag = settings::isYes(*line);
        }
    };

    for (int account = 1; account <= kAccountCount; ++account) {
        toText(window.accountUser(account));
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        const auto line = reader.next();
        const std::optional<std::string> unscrambled =
            line ? unscramblePassword(*line) : std::nullopt;
        if (unscrambled) {
            parts.log.append("PTF");
            window.accountPass(account).set(undoThreeByteSpreading(*unscrambled));
        } else {
            parts.log.append("PTT");
        }
    }
    for (int account = 1; account <= kAccountCount; ++account) {
        toText(window.accountPop(account));
    }
    toText(window.Edit1);
    toCheck(window.NewMLevelNumber);
    toCheck(window.StartMinimized);
    toCheck(window.CheckBox1);
    toCheck(window.CheckBox2);
    toFlag(window.NoticeAll);
    toFlag(parts.cycle.CCW[1]);
    const auto ruleMode = reader.next();
    if (!ruleMode) {
        return;
    }
    window.UseRule = *ruleMode == "Use Rules";
    if (!window.UseRule) {
        return;
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        if (const auto line = reader.next()) {
            window.SBn[rule].itemIndex.set(settings::ruleFieldIndex(*line));
        }
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        toText(window.En[rule]);
    }
}

}  // namespace

void loadLegacySettings(SettingsParts& parts) {
    const StoredText file = parts.port.readLegacyFile();
    if (file.state == StoredText::State::Present) {
        parts.log.append("Loading values from mivo24.txt file.");
        parts.advancedOptions.toggleOptionsArea();
        readLines(parts, file.text);
    } else {
        if (file.state == StoredText::State::Ignored) {
            parts.log.append("Old settings file ignored: " + file.reason);
        }
        parts.launcher.OpenHelp();
    }
    parts.checkTimer.applyInterval();
    // The old file holds no taskbar options: a first start, or one from the
    // old file, shows the tray icon that the options (both on) promise
    // rather than waiting for the next start to show it.
    parts.presence.applyPresence();
}

}  // namespace mivo
