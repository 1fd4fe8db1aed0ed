#pragma once
// The settings text: KEY=VALUE lines separated by CR LF. Reading it is
// lenient on purpose: keys match in any case, a line without "=" is ignored
// and a missing key reads as empty, so old and hand-edited texts still load.

#include <string>
#include <string_view>
#include <vector>

namespace mivo::settings {

// The value of the first line whose text before its first "=" is `key`,
// compared without regard to case; empty when no line has the key.
std::string_view valueOf(std::string_view text, std::string_view key);

// Cuts a stored text into lines: a line ends at the next CR, or at the next
// LF when no CR follows, and one CR or LF right after that end is skipped as
// well. Text after the last line end is not a line.
std::vector<std::string_view> storedLines(std::string_view text);

// Only the exact text "YES" is true.
inline bool isYes(std::string_view value) {
    return value == "YES";
}
inline const char* yesNo(bool value) {
    return value ? "YES" : "NO";
}

// A rule's header field read as a number in any base ("0x3" is 3); a number
// outside the header field list selects no field (-1).
int ruleFieldIndex(std::string_view value);

}  // namespace mivo::settings
