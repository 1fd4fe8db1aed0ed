#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "console/FilledInAccounts.h"
#include "state/KnownCounts.h"

namespace mivo {
namespace {

SeenMessages counted(int count) {
    return SeenMessages{count, std::nullopt};
}

SeenMessages listed(int count, MessageIds ids) {
    return SeenMessages{count, std::move(ids)};
}

TEST(KnownCounts, WritesOneTabSeparatedLinePerAccount) {
    const KnownCounts counts = {{{"bob", "pop.example.org:110"}, counted(12)},
                                {{"ann", "127.0.0.1"}, counted(0)},
                                {{"cy", "pop3s://mail"}, listed(2, {"b\\2", "a!1"})},
                                {{"dee", "mail"}, listed(0, {})}};
    EXPECT_EQ(formatKnownCounts(counts),
              "mivo-check state 2\n"
              "ann\t127.0.0.1\t0\n"
              "bob\tpop.example.org:110\t12\n"
              "cy\tpop3s://mail\t2\ta!1 b\\2\n"
              "dee\tmail\t0\t\n");
}

TEST(KnownCounts, NamesWithLineBreaksTabsAndBackslashesSurviveTheRoundTrip) {
    const KnownCounts counts = {
        {{"first last", "host"}, counted(1)},
        {{"tab\there", "line\nbreak\r\n"}, counted(2)},
        {{"back\\slash\\t", "\\"}, listed(3, {"\\t", "~", std::string(70, 'x')})},
        {{"#not a comment", "h\xc3\xa9te"}, counted(2147483647)},
    };
    const std::string text = formatKnownCounts(counts);
    // Every account stays on a line of its own.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    KnownCounts read;
    ASSERT_FALSE(parseKnownCounts(text, read));
    EXPECT_EQ(read, counts);
}

TEST(KnownCounts, LeavesOutWhatNoCheckCanHaveCountedOrListed) {
    const KnownCounts counts = {{{"", "host"}, counted(1)},
                                {{"user", ""}, counted(2)},
                                {{"user", "host"}, counted(-1)},
                                {{"ids", "host"}, listed(1, {"", "a b", "\x7f", "ok"})}};
    EXPECT_EQ(formatKnownCounts(counts), "mivo-check state 2\nids\thost\t1\tok\n");
}

TEST(KnownCounts, ReadsEmptyAndHandEditedTextsOfBothVersions) {
    const std::pair<const char*, KnownCounts> cases[] = {
        {"", {}},
        {"mivo-check state 1", {}},
        {"mivo-check state 1\n", {}},
        {"mivo-check state 1\nu\th\t007", {{{"u", "h"}, counted(7)}}},
        {"mivo-check state 2\n", {}},
        {"mivo-check state 2\nu\th\t007", {{{"u", "h"}, counted(7)}}},
        {"mivo-check state 2\nu\th\t1\t", {{{"u", "h"}, listed(1, {})}}},
        {"mivo-check state 2\nu\th\t1\tz a\n", {{{"u", "h"}, listed(1, {"a", "z"})}}},
    };
    for (const auto& [text, expected] : cases) {
        KnownCounts read = {{{"left", "over"}, counted(1)}};
        EXPECT_FALSE(parseKnownCounts(text, read)) << text;
        EXPECT_EQ(read, expected) << text;
    }
}

TEST(KnownCounts, RefusesAnythingElseNamingTheLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"\n", "not a mivo-check state file"},
        {"user\thost\t1\n", "not a mivo-check state file"},
        {"mivo-check state 3\n", "not a mivo-check state file"},
        {"mivo-check state 1\r\n", "not a mivo-check state file"},
        {"mivo-check state 1\n\n", "line 2:"},
        {"mivo-check state 1\nu\th\n", "line 2:"},
        // Version 1 never held ids.
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
        {"mivo-check state 2\nu\th\t1\ta\t\n", "line 2:"},
        {"mivo-check state 2\nu\th\t1\ta  b\n", "line 2: the message ids"},
        {"mivo-check state 2\nu\th\t1\t a\n", "line 2: the message ids"},
        {"mivo-check state 2\nu\th\t1\ta \n", "line 2: the message ids"},
        {"mivo-check state 2\nu\th\t1\ta a\n", "line 2: the message ids"},
        {"mivo-check state 2\nu\th\t1\ta\x80\n", "line 2: the message ids"},
        {"mivo-check state 2\nu\th\t1\ta\r\n", "line 2: the message ids"},
        {"mivo-check state 2\nu\th\t1\t" + std::string(71, 'x') + "\n", "line 2: the message ids"},
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
