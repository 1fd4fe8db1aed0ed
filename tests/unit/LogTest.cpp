#include <gtest/gtest.h>

#include "FakePorts.h"
#include "log/Log.h"
#include "text/MemoText.h"
#include "text/TimeText.h"

namespace mivo {
namespace {

struct LogFixture : ::testing::Test {
    TextField text{"Log"};
    bool viewerOpen = false;
    TextField copy;
    test::FakeClock clock;
    Log log{text, viewerOpen, copy, clock};
};

TEST_F(LogFixture, AppendsLinesSeparatedByCrLf) {
    log.append("first");
    log.append("two\r\nlines\r\n");
    log.append("");
    log.append("last");
    EXPECT_EQ(log.text(), "Log\r\nfirst\r\ntwo\r\nlines\r\n\r\nlast\r\n");
}

TEST_F(LogFixture, TruncatesAtThe15001stCharacterKeepingTheTail) {
    // "Log" + 2 + 14995 = 15000 characters: still whole.
    log.append(std::string(14995, 'x'));
    ASSERT_EQ(log.text().size(), 15000u);
    log.append("");  // adds CR LF: 15002 characters
    const std::string expectedTail = std::string(900, 'x') + "\r\n";
    EXPECT_EQ(log.text(),
              "The Log was truncated on Wed Jan 03 09:05:07 2001.\r\n"
              " it was 15002 bytes and it became 1000 bytes\r\n\r\n" +
                  expectedTail);
}

TEST_F(LogFixture, EachTruncationKeepsTheTailOfTheTextAsItWasThen) {
    log.append(std::string(15000, 'x'));
    ASSERT_LT(log.text().size(), 14000u);
    // To 14500 characters, then over the limit with a line of 500.
    log.append(std::string(14500 - 2 - log.text().size(), 'y'));
    log.append(std::string(500, 'z'));
    EXPECT_EQ(log.text(),
              "The Log was truncated on Wed Jan 03 09:05:07 2001.\r\n"
              " it was 15002 bytes and it became 1000 bytes\r\n\r\n" +
                  std::string(400, 'y') + "\r\n" + std::string(500, 'z'));
}

TEST_F(LogFixture, MirrorsIntoTheLogViewerOnlyWhileItIsOpen) {
    log.append("unseen");
    EXPECT_EQ(copy.get(), "");
    viewerOpen = true;
    log.append("seen");
    EXPECT_EQ(copy.get(), "Log\r\nunseen\r\nseen");
    log.append(std::string(16000, 'y'));
    EXPECT_EQ(copy.get(), log.text());
    EXPECT_EQ(log.text().rfind("The Log was truncated on ", 0), 0u);
}

TEST_F(LogFixture, ReportsEachAppendedTextToObservers) {
    std::vector<std::string> seen;
    log.onAppend([&](std::string_view line) { seen.emplace_back(line); });
    log.append("a");
    log.append("b\r\nc");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b\r\nc"}));
}

TEST(MemoText, FollowsTheEditControlsLineRules) {
    struct Case {
        std::string text;
        std::string added;
        std::string afterAdd;
        int lines;
    };
    const Case cases[] = {
        {"", "a", "a\r\n", 1},
        {"a\r\n", "b", "a\r\nb\r\n", 2},
        {"Log", "a", "Log\r\na", 2},
        {"Log", "", "Log\r\n", 1},
        {"h", "x\r\ny\r\n", "h\r\nx\r\ny\r\n", 3},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        memo::addLine(text, c.added);
        EXPECT_EQ(text, c.afterAdd) << c.text;
        EXPECT_EQ(memo::lineCount(text), c.lines) << c.text;
    }
}

TEST(MemoText, DeletingTheLastLineDropsTheEmptyLineOfAClosingBreak) {
    // A summary adds a list ending in CR LF and deletes the empty line after it.
    std::string text = "    hdr\r\n";
    memo::addLine(text, "a\tb\r\nc\td\r\n");
    memo::deleteLastLine(text);
    EXPECT_EQ(text, "    hdr\r\na\tb\r\nc\td\r\n");
    memo::deleteLastLine(text);
    EXPECT_EQ(text, "    hdr\r\na\tb\r\n");
    std::string open = "x\r\ny";
    memo::deleteLastLine(open);
    EXPECT_EQ(open, "x\r\n");
}

TEST(TimeText, HasTwentyFourCharactersWithEnglishNames) {
    EXPECT_EQ(timeText({2026, 12, 6, 10, 56, 43, 0}), "Sun Dec 06 10:56:43 2026");
    EXPECT_EQ(timeText({2001, 1, 3, 9, 5, 7, 3}).size(), 24u);
}

}  // namespace
}  // namespace mivo
