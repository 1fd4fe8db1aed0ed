#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "console/FilledInAccounts.h"
#include "state/KnownCounts.h"

namespace mivo {
namespace {

TEST(KnownCounts, WritesOneTabSeparatedLinePerAccount) {
    const KnownCounts counts = {{{"bob", "pop.example.org:110"}, 12}, {{"ann", "127.0.0.1"}, 0}};
    EXPECT_EQ(formatKnownCounts(counts),
              "mivo-check state 1\n"
              "ann\t127.0.0.1\t0\n"
              "bob\tpop.example.org:110\t12\n");
}

TEST(KnownCounts, NamesWithLineBreaksTabsAndBackslashesSurviveTheRoundTrip) {
    const KnownCounts counts = {
        {{"first last", "host"}, 1},
        {{"tab\there", "line\nbreak\r\n"}, 2},
        {{"back\\slash\\t", "\\"}, 3},
        {{"#not a comment", "h\xc3\xa9te"}, 2147483647},
    };
    const std::string text = formatKnownCounts(counts);
    // Every account stays on a line of its own.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    KnownCounts read;
    ASSERT_FALSE(parseKnownCounts(text, read));
    EXPECT_EQ(read, counts);
}

TEST(KnownCounts, LeavesOutWhatNoCheckCanHaveCounted) {
    const KnownCounts counts = {{{"", "host"}, 1}, {{"user", ""}, 2}, {{"user", "host"}, -1}};
    EXPECT_EQ(formatKnownCounts(counts), "mivo-check state 1\n");
}

TEST(KnownCounts, ReadsEmptyAndHandEditedTexts) {
    const std::pair<const char*, KnownCounts> cases[] = {
        {"", {}},
        {"mivo-check state 1", {}},
        {"mivo-check state 1\n", {}},
        {"mivo-check state 1\nu\th\t007", {{{"u", "h"}, 7}}},
    };
    for (const auto& [text, expected] : cases) {
        KnownCounts read = {{{"left", "over"}, 1}};
        EXPECT_FALSE(parseKnownCounts(text, read)) << text;
        EXPECT_EQ(read, expected) << text;
    }
}

TEST(KnownCounts, RefusesAnythingElseNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"\n", "not a mivo-check state file"},
        {"user\thost\t1\n", "not a mivo-check state file"},
        {"mivo-check state 2\n", "not a mivo-check state file"},
        {"mivo-check state 1\r\n", "not a mivo-check state file"},
        {"mivo-check state 1\n\n", "line 2:"},
        {"mivo-check state 1\nu\th\n", "line 2:"},
        {"mivo-check state 1\nu\th\t1\t\n", "line 2:"},
        {"mivo-check state 1\nu\th\t1\r\n", "line 2:"},
        {"mivo-check state 1\nu\th\t1\nu\th\t-1\n", "line 3:"},
        {"mivo-check state 1\nu\th\t+1\n", "line 2:"},
        {"mivo-check state 1\nu\th\t 1\n", "line 2:"},
        {"mivo-check state 1\nu\th\t\n", "line 2:"},
        {"mivo-check state 1\nu\th\t2147483648\n", "line 2:"},
        {"mivo-check state 1\n\th\t1\n", "line 2:"},
        {"mivo-check state 1\nu\t\t1\n", "line 2:"},
        {"mivo-check state 1\nu\\x\th\t1\n", "line 2:"},
        {"mivo-check state 1\nu\\\th\t1\n", "line 2:"},
        {"mivo-check state 1\nu\th\\\t1\n", "line 2:"},
        {"mivo-check state 1\nu\th\t1\nu\th\t2\n", "line 3: the account is listed twice"},
    };
    for (const auto& [text, message] : cases) {
        KnownCounts read;
        const std::optional<KnownCountsError> error = parseKnownCounts(text, read);
        ASSERT_TRUE(error) << text;
        EXPECT_NE(error->message.find(message), std::string::npos) << text << error->message;
        EXPECT_TRUE(read.empty()) << text;
    }
}

TEST(FilledInAccounts, AnAccountIsFilledInByAnyOfItsDetails) {
    MainWindowModel window;
    EXPECT_FALSE(anyAccountFilledIn(window));
    window.accountPass(8).set("pw");
    EXPECT_TRUE(anyAccountFilledIn(window));
}

}  // namespace
}  // namespace mivo
