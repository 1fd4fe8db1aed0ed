#include <gtest/gtest.h>

#include "console/CheckCommandLine.h"

namespace mivo {
namespace {

using Args = std::vector<std::string>;

TEST(CheckCommandLine, ReadsAccountsIntervalAndCycles) {
    CheckCommandLine options;
    ASSERT_FALSE(
        parseCheckCommandLine({"--interval", "0x2", "--cycles", "3", "--account", "alice",
                               "secret1", "127.0.0.1:2110", "--account", "bob", "pw", "localhost"},
                              options));
    EXPECT_EQ(options.interval, "0x2");
    EXPECT_EQ(options.cycles, 3);
    ASSERT_EQ(options.accounts.size(), 2u);
    EXPECT_EQ(options.accounts[0].host, "127.0.0.1:2110");
    EXPECT_EQ(options.accounts[1].user, "bob");
    EXPECT_EQ(options.accounts[1].password, "pw");
}

TEST(CheckCommandLine, RefusesWhatItCannotUse) {
    const Args account = {"--account", "u", "p", "h"};
    auto with = [&](Args extra) {
        Args args = account;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    Args nineAccounts;
    for (int i = 0; i < 9; ++i) {
        nineAccounts.insert(nineAccounts.end(), account.begin(), account.end());
    }
    const Args cases[] = {
        {},                                     // nothing to check without the settings store
        with({"--verbose"}),                    // unknown option
        with({"--cycles"}),                     // missing value
        with({"--cycles", "two"}),              // not a count
        with({"--cycles", "-1"}),               // not a count
        {"--account", "u", "p"},                // missing host
        {"--account", "u", "p", "host:0"},      // port out of range
        {"--account", "u", "p", "host:65536"},  // port out of range
        {"--account", "u", "p", "host:pop3"},   // port not a number
        nineAccounts,                           // a ninth account
    };
    for (const Args& args : cases) {
        CheckCommandLine options;
        EXPECT_TRUE(parseCheckCommandLine(args, options).has_value())
            << ::testing::PrintToString(args);
    }
}

TEST(CheckCommandLine, HelpAndVersionNeedNothingElse) {
    CheckCommandLine options;
    ASSERT_FALSE(parseCheckCommandLine({"--help"}, options));
    EXPECT_EQ(options.action, CheckCommandLine::Action::Help);
    ASSERT_FALSE(parseCheckCommandLine({"--version"}, options));
    EXPECT_EQ(options.action, CheckCommandLine::Action::Version);
}

}  // namespace
}  // namespace mivo
