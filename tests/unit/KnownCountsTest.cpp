#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "console/AccountCounts.h"
#include "console/KnownCounts.h"

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

class AccountCountsTest : public ::testing::Test {
protected:
    void setAccount(int account, const std::string& user, const std::string& host) {
        window.accountUser(account).set(user);
        window.accountPass(account).set("pw");
        window.accountPop(account).set(host);
    }

    MainWindowModel window;
    CycleState cycle;
};

TEST_F(AccountCountsTest, CountsFollowTheAccountWhereverItStandsNow) {
    setAccount(1, "eve", "b.example:110");
    setAccount(3, "bob", "a.example");
    setAccount(4, "bob", "b.example:110");  // same user, other host
    setAccount(5, "", "a.example");         // incomplete: no key
    const KnownCounts kept = {{{"bob", "a.example"}, 4}, {{"eve", "b.example:110"}, 9}};
    restoreKnownCounts(kept, window, cycle);
    EXPECT_EQ(cycle.lastNumKnown[1], 9);
    EXPECT_EQ(cycle.lastNumKnown[3], 4);
    EXPECT_EQ(cycle.lastNumKnown[4], 0);
    EXPECT_EQ(cycle.lastNumKnown[5], 0);
}

TEST_F(AccountCountsTest, RememberingKeepsTheCountsOfAccountsNotInThisRun) {
    setAccount(2, "bob", "a.example");
    setAccount(3, "new", "c.example");
    setAccount(4, "", "a.example");
    KnownCounts counts = {{{"bob", "a.example"}, 4}, {{"gone", "d.example"}, 7}};
    cycle.lastNumKnown[2] = 6;
    cycle.lastNumKnown[3] = 1;
    rememberKnownCounts(window, cycle, counts);
    const KnownCounts expected = {
        {{"bob", "a.example"}, 6}, {{"gone", "d.example"}, 7}, {{"new", "c.example"}, 1}};
    EXPECT_EQ(counts, expected);
}

TEST_F(AccountCountsTest, AnAccountIsFilledInByAnyOfItsDetails) {
    EXPECT_FALSE(anyAccountFilledIn(window));
    window.accountPass(8).set("pw");
    EXPECT_TRUE(anyAccountFilledIn(window));
}

}  // namespace
}  // namespace mivo
