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
    EXPECT_FALSE(options.configDirectory);
    EXPECT_FALSE(options.stateFile);
}

TEST(CheckCommandLine, WithoutAccountsTheSettingsAreChecked) {
    CheckCommandLine options;
    ASSERT_FALSE(parseCheckCommandLine({}, options));
    EXPECT_TRUE(options.accounts.empty());
    EXPECT_FALSE(options.configDirectory);
    // No --interval: the stored one applies.
    EXPECT_FALSE(options.interval);

    ASSERT_FALSE(parseCheckCommandLine(
        {"--state", "counts with blanks", "--config", "dir", "--interval", "5"}, options));
    EXPECT_EQ(options.configDirectory, "dir");
    EXPECT_EQ(options.stateFile, "counts with blanks");
    EXPECT_EQ(options.interval, "5");
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
        with({"--verbose"}),                    // unknown option
        with({"--cycles"}),                     // missing value
        with({"--cycles", "two"}),              // not a count
        with({"--cycles", "-1"}),               // not a count
        with({"--state"}),                      // missing value
        with({"--state", ""}),                  // no path
        {"--config"},                           // missing value
        {"--config", ""},                       // no path
        with({"--config", "dir"}),              // accounts that would never be stored
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

// An account after --password-file has no password argument; every other
// account's password is listed by where it stands, so that it can be
// blanked, also when the command line holds a mistake after it.
TEST(CheckCommandLine, PasswordsComeFromArgumentsOrFiles) {
    CheckCommandLine options;
    ASSERT_FALSE(parseCheckCommandLine(
        {"--account", "ann", "pw1", "h1", "--password-file", "/run/secret", "--account", "bob",
         "h2", "--cycles", "2", "--account", "eve", "--account", "h3"},
        options));
    ASSERT_EQ(options.accounts.size(), 3u);
    EXPECT_EQ(options.accounts[0].password, "pw1");
    EXPECT_FALSE(options.accounts[0].passwordFile);
    EXPECT_EQ(options.accounts[1].user, "bob");
    EXPECT_EQ(options.accounts[1].host, "h2");
    EXPECT_EQ(options.accounts[1].passwordFile, "/run/secret");
    EXPECT_EQ(options.accounts[2].password, "--account");
    EXPECT_EQ(options.passwordArguments, (std::vector<std::size_t>{2, 13}));

    const Args mistakes[] = {
        {"--password-file", "f"},  // no account after it
        {"--password-file", "f", "--password-file", "g", "--account", "u", "h"},  // two for one
        {"--password-file", "f", "--account", "u"},                               // no host
        {"--password-file", "", "--account", "u", "h"},                           // no path
        {"--password-file"},                                                      // no value
    };
    for (const Args& args : mistakes) {
        EXPECT_TRUE(parseCheckCommandLine(args, options).has_value())
            << ::testing::PrintToString(args);
    }
    EXPECT_TRUE(parseCheckCommandLine({"--account", "u", "secret", "host:0"}, options));
    EXPECT_EQ(options.passwordArguments, std::vector<std::size_t>{2});
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
