// Server text where it meets a title bar or a terminal.

#include <gtest/gtest.h>

#include <string>

#include "console/TerminalText.h"
#include "text/WindowTitle.h"

namespace mivo {
namespace {

TEST(WindowTitle, ShowsEachRunOfLineBreaksAsOneBlank) {
    const std::pair<std::string, std::string> cases[] = {
        {"New Mail - Mivo", "New Mail - Mivo"},
        {"-ERR bad password\r\n - Mivo", "-ERR bad password  - Mivo"},
        {"(bob)Select failed () Connection Refused\n - Mivo",
         "(bob)Select failed () Connection Refused  - Mivo"},
        {"a\r\n\r\n\nb\rc", "a b c"},
        {"\r\n", " "},
        {"tab\tstays", "tab\tstays"},
    };
    for (const auto& [caption, title] : cases) {
        EXPECT_EQ(windowTitleText(caption), title) << caption;
    }
}

TEST(TerminalText, EscapesEveryControlCharacterButTabAndTheBackslash) {
    const std::pair<std::string, std::string> cases[] = {
        {"+OK ready", "+OK ready"},
        {"-ERR x\r\n", "-ERR x\\r\\n"},
        {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        {std::string("nul\0here", 8), "nul\\x00here"},
        {"del\x7f", "del\\x7f"},
        {"tab\there", "tab\there"},
        {"C:\\temp\\n", "C:\\\\temp\\\\n"},
        {"caf\xc3\xa9", "caf\xc3\xa9"},  // bytes above 0x7f pass as they are
    };
    for (const auto& [text, safe] : cases) {
        EXPECT_EQ(terminalSafe(text), safe) << text;
    }
}

}  // namespace
}  // namespace mivo
