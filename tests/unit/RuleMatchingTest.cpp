#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/MainWindowModel.h"
#include "pop3/DownloadNames.h"
#include "pop3/RuleMatching.h"

namespace mivo {
namespace {

struct RuleSetting {
    int number;
    int field;  // index into the header field list
    std::string text;
    bool urgent = false;
};

constexpr int kNoRule = 0, kFrom = 3, kReplyTo = 5, kTo = 6, kSubject = 8, kMessageId = 10;

TEST(RuleMatching, LinesBeginWithTheFieldAllButItsLastLetterAndHoldTheText) {
    struct Case {
        const char* name;
        std::vector<RuleSetting> rules;
        std::string headers;
        int rule;
        int matchedLines;
        bool urgent;
    };
    const Case cases[] = {
        {"the subject holds the text",
         {{1, kSubject, "Invoice"}},
         "Subject: Invoice 42\r\n",
         1,
         1,
         false},
        {"a field ending in the name is another field",
         {{1, kSubject, "Invoice"}},
         "X-Old-Subject: Invoice\r\n",
         0,
         0,
         false},
        {"the text's case counts", {{1, kSubject, "Invoice"}}, "Subject: invoice\r\n", 0, 0, false},
        {"the name's case counts up to its last letter",
         {{1, kMessageId, "abc"}, {2, kReplyTo, "ann"}},
         "Message-ID: abc\r\nReply-To: ann\r\n",
         0,
         0,
         false},
        {"the name's last letter is not compared",
         {{1, kMessageId, "abc"}},
         "Message-iD: abc\r\n",
         1,
         1,
         false},
        {"\"To\" looks at every line beginning with T",
         {{2, kTo, "bob"}},
         "Thread-Topic: bob\r\n",
         2,
         1,
         false},
        {"a field without a text", {{1, kSubject, ""}}, "Subject: \r\n", 0, 0, false},
        {"a text without a field", {{1, kNoRule, "a"}}, "a\r\n", 0, 0, false},
        {"no field chosen", {{1, -1, "a"}}, "a\r\n", 0, 0, false},
        {"the empty line and the final dot take part",
         {{3, kTo, "."}},
         "From: a\r\n\r\nT.\r\n.\r\n",
         3,
         1,
         false},
        {"each matching line counts and the last one's rule wins",
         {{1, kSubject, "Invoice"}, {2, kFrom, "ann", true}},
         "From: ann\r\nSubject: Invoice\r\n",
         1,
         2,
         true},
        {"a line goes to the first rule it matches",
         {{1, kSubject, "Invoice"}, {2, kSubject, "Inv", true}},
         "Subject: Invoice\r\n",
         1,
         1,
         false},
        {"texts are compared up to 98 characters",
         {{1, kSubject, std::string(98, 'x') + "yz"}},
         "Subject: " + std::string(98, 'x') + "\r\n",
         1,
         1,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowModel window;
        for (const RuleSetting& rule : c.rules) {
            window.SBn[rule.number].itemIndex.set(rule.field);
            window.En[rule.number].set(rule.text);
            window.Urgentn[rule.number].set(rule.urgent);
        }
        const RuleMatch match = matchRules(window, c.headers);
        EXPECT_EQ(match.rule, c.rule);
        EXPECT_EQ(match.matchedLines, c.matchedLines);
        EXPECT_EQ(match.urgent, c.urgent);
    }
}

// A program text is the user's, never a format: whatever it holds, the
// command line is the text with its first "%s" named.
TEST(DownloadNames, TheProgramTextNamesTheFileAtItsFirstPercentS) {
    struct Case {
        const char* text;
        const char* command;
    };
    const Case cases[] = {
        {"viewer %s", "viewer /temp/Mivo12.txt"},
        {"viewer", "viewer"},
        {"a %s b %s", "a /temp/Mivo12.txt b %s"},
        {"%n%d%x %s", "%n%d%x /temp/Mivo12.txt"},
        {"100%% %s", "100% /temp/Mivo12.txt"},
        {"%%s %s", "%s /temp/Mivo12.txt"},
        {"ends in %", "ends in %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(programCommandLine(c.text, "/temp/Mivo12.txt").text(), c.command);
    }
    // A "%" in the file's name is no conversion either.
    EXPECT_EQ(programCommandLine("v %s", temporaryFileName("/temp/%s%n", 3)).text(),
              "v /temp/%s%n/Mivo3.txt");
    // Only the first 399 characters of a program text are used.
    EXPECT_EQ(programCommandLine(std::string(398, 'a') + "%s", "F").text(),
              std::string(398, 'a') + "%");
}

// The file's name is one argument of the program whatever its folder is
// called: blanks and quotes in it neither split it nor group anything.
TEST(DownloadNames, TheFileNamedIsAlwaysOneArgument) {
    using Words = std::vector<std::string>;
    struct Case {
        const char* text;
        const char* directory;
        Words arguments;
    };
    const Case cases[] = {
        {"viewer %s", "/home/me/My Mail", {"viewer", "/home/me/My Mail/Mivo7.txt"}},
        {"viewer %s -x", "/tmp/a\"b", {"viewer", "/tmp/a\"b/Mivo7.txt", "-x"}},
        {"viewer \"%s\"", "/tmp/two  blanks", {"viewer", "/tmp/two  blanks/Mivo7.txt"}},
        {"viewer --file=%s", "/tmp/x \"y\"", {"viewer", "--file=/tmp/x \"y\"/Mivo7.txt"}},
        {"\"/opt/My Viewer/view\" \"--title=a b\" %s",
         "/tmp",
         {"/opt/My Viewer/view", "--title=a b", "/tmp/Mivo7.txt"}},
        {"viewer %s %s", "/t t", {"viewer", "/t t/Mivo7.txt", "%s"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(commandLineWords(programCommandLine(c.text, temporaryFileName(c.directory, 7))),
                  c.arguments);
    }
}

TEST(DownloadNames, FileNumbersWrapAroundInsteadOfOverflowing) {
    EXPECT_EQ(nextFileNumber(11), 12);
    EXPECT_EQ(nextFileNumber(INT32_MAX), INT32_MIN);
    EXPECT_EQ(temporaryFileName("/temp", INT32_MIN), "/temp/Mivo-2147483648.txt");
}

}  // namespace
}  // namespace mivo
