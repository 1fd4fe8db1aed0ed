#include "pop3/RuleMatching.h"

#include <optional>

#include "text/MemoText.h"

namespace mivo {

namespace {

// A rule's field name and text are held in buffers of these sizes; what
// lies beyond takes no part in matching.
constexpr std::size_t kFieldNameLimit = 99;
constexpr std::size_t kTextLimit = 98;

struct LineTest {
    std::string_view prefix;
    std::string_view text;
};

std::optional<LineTest> lineTestOf(const MainWindowModel& window, int rule) {
    const ListField& field = window.SBn[rule];
    const int index = field.itemIndex.get();
    const std::string& text = window.En[rule].get();
    if (index < 1 || index >= static_cast<int>(field.items.size()) || text.empty()) {
        return std::nullopt;
    }
    const std::string_view name = std::string_view(field.items[index]).substr(0, kFieldNameLimit);
    // The name's last character is left out of the comparison.
    return LineTest{name.substr(0, name.size() - 1), std::string_view(text).substr(0, kTextLimit)};
}

bool matches(const LineTest& test, std::string_view line) {
    return line.substr(0, test.prefix.size()) == test.prefix &&
           line.find(test.text) != std::string_view::npos;
}

}  // namespace

RuleMatch matchRules(const MainWindowModel& window, std::string_view headerLines) {
    PerRule<std::optional<LineTest>> tests;
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        tests[rule] = lineTestOf(window, rule);
    }
    RuleMatch result;
    memo::forEachLine(headerLines, [&](std::string_view line) {
        for (int rule = 1; rule <= kRuleCount; ++rule) {
            if (tests[rule] && matches(*tests[rule], line)) {
                result.rule = rule;
                result.matchedLines += 1;
                result.urgent = result.urgent || window.Urgentn[rule].get();
                break;
            }
        }
    });
    return result;
}

bool rulesActOnServer(const MainWindowModel& window) {
    if (!window.UseRule) {
        return false;
    }
    for (int rule = 1; rule <= 3; ++rule) {
        if (lineTestOf(window, rule) && (window.DLn[rule].get() || window.DELn[rule].get())) {
            return true;
        }
    }
    return false;
}

}  // namespace mivo
