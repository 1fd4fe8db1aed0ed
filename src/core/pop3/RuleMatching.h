#pragma once
// Which of the three rules a new message's header lines match. A line
// matches a rule when it begins with the rule's field name, all but that
// name's last character compared, and holds the rule's text; both tests are
// case-sensitive. Users' rules have always matched this loosely ("To" looks
// at every line beginning with "T"), so they keep doing so.

#include <string_view>

#include "model/MainWindowModel.h"

namespace mivo {

struct RuleMatch {
    int rule = 0;          // the rule of the last matching line; 0 for none
    int matchedLines = 0;  // each matching line counts as one new message
    bool urgent = false;   // a matching line's rule is marked urgent
};

// Tries rules 1, 2 and 3 in turn on every line of `headerLines` (CR LF
// separated); the first rule that matches a line takes it. A rule takes
// part only with a field chosen (index 1 or more) and a text.
RuleMatch matchRules(const MainWindowModel& window, std::string_view headerLines);

// Whether rules are in use and one that can match downloads or deletes
// what it matches.
bool rulesActOnServer(const MainWindowModel& window);

}  // namespace mivo
