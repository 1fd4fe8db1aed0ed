// mivo-check on stored settings: the accounts of a settings directory are
// checked and the settings saved back as the desktop program saves them, and
// settings it cannot use end the run before anything is checked or written.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "MivoCheckRun.h"
#include "ScriptedMailbox.h"
#include "ScriptedServer.h"
#include "StoredSettingsText.h"
#include "TemporaryDirectory.h"

namespace mivo::test {
namespace {

namespace fs = std::filesystem;

constexpr int kUsageError = 64;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class MivoCheckSettingsTest : public ::testing::Test {
protected:
    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }
    std::string settingsPath() const { return directory / "Settings"; }
    std::string legacyPath() const { return directory / "mivo24.txt"; }

    // The old settings file, one value per line, each password character
    // spread over three bytes before scrambling: alice's account on the
    // scripted server, checked every minute.
    std::string oldSettingsText() const {
        std::string legacy = "alice\n";
        legacy += std::string(7, '\n');
        legacy += scrambledPassword("pppwww") + "\n" + std::string(7, '\n');
        legacy += host() + "\n" + std::string(7, '\n');
        legacy += "1\n";
        return legacy;
    }

    TemporaryDirectory directory;
    ScriptedServer server;
};

TEST_F(MivoCheckSettingsTest, ChecksTheStoredAccountsAndSavesThemBack) {
    const StoredAccount alice{"alice", "alice secret", host()};
    const StoredAccount bob{"bob", "b0b-pass", host()};
    // Nothing counts messages between runs without --state: the second run
    // finds the same message new again.
    for (int run = 0; run < 2; ++run) {
        scriptMailbox(run == 0 ? server : server.nextConnection(), "alice", alice.password,
                      {"From: Ann <ann@example.org>\r\nSubject: Lunch"});
        scriptMailbox(server.nextConnection(), "bob", bob.password, {});
    }
    server.start();
    const std::string original =
        settingsText({alice, bob}, "EmailProgram=mutt\r\nEXENAME=/usr/bin/mivo\r\n");
    writeWholeFile(settingsPath(), original);

    const CheckRun first = runMivoCheck({"--config", directory.path()});
    EXPECT_EQ(first.exit.exitCode, 0) << first.errors;
    EXPECT_TRUE(contains(first.output, "    alice@" + host() + "  ")) << first.output;
    EXPECT_TRUE(contains(first.output, "Ann <ann@example.org>\tLunch\n")) << first.output;
    EXPECT_TRUE(contains(first.errors, "caption: New Mail - Mivo\n")) << first.errors;
    for (const std::string& secret :
         {alice.password, bob.password, scrambledPassword(alice.password)}) {
        EXPECT_FALSE(contains(first.output + first.errors, secret)) << secret;
    }

    // Saved as the desktop program saves: every key, the servers now known
    // to have greeted, the passwords still scrambled, private to the user.
    const std::string saved = readWholeFile(settingsPath());
    EXPECT_NE(saved, original);
    for (const char* line : {"UN1=alice\r\n", "UN2=bob\r\n", "CCW1=YES\r\n", "CCW2=YES\r\n",
                             "TimeInterval=1\r\n", "S4=NO\r\n", "EmailProgram=mutt\r\n"}) {
        EXPECT_TRUE(contains(saved, line)) << line << saved;
    }
    EXPECT_FALSE(contains(saved, alice.password));
    // The settings still name the desktop program, not mivo-check.
    EXPECT_EQ(saved.rfind("EXENAME=/usr/bin/mivo\r\n", 0), 0u) << saved;
    struct stat status {};
    ASSERT_EQ(::stat(settingsPath().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    // The saved text loads again; an interval given for one run stays out of it.
    const CheckRun second = runMivoCheck({"--config", directory.path(), "--interval", "7"});
    EXPECT_EQ(second.exit.exitCode, 0) << second.errors;
    EXPECT_TRUE(contains(second.output, "Ann <ann@example.org>\tLunch\n")) << second.output;
    EXPECT_TRUE(contains(readWholeFile(settingsPath()), "TimeInterval=1\r\n"));
    EXPECT_EQ(server.connections(), 4u);
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
}

TEST_F(MivoCheckSettingsTest, AnAccountWithoutItsPasswordFailsAndTheRunEnds) {
    writeWholeFile(settingsPath(), "UN1=alice\r\nPO1=" + host() + "\r\n");
    const CheckRun run = runMivoCheck({"--config", directory.path()});
    EXPECT_EQ(run.exit.exitCode, 2);
    EXPECT_TRUE(contains(run.errors, "caption: (1)Enter Password\n")) << run.errors;
    EXPECT_EQ(server.connections(), 0u);
}

// The old settings file; the first save stores a settings text.
TEST_F(MivoCheckSettingsTest, ReadsTheOldSettingsFileWhenNoneIsStored) {
    scriptMailbox(server, "alice", "pw", {});
    server.start();
    const std::string legacy = oldSettingsText();
    writeWholeFile(legacyPath(), legacy);

    const CheckRun run = runMivoCheck({"--config", directory.path()});
    EXPECT_EQ(run.exit.exitCode, 1) << run.errors;
    EXPECT_TRUE(contains(run.output, "Loading values from mivo24.txt file.\n"));
    EXPECT_TRUE(contains(readWholeFile(settingsPath()), "UN1=alice\r\n"));
    EXPECT_EQ(readWholeFile(legacyPath()), legacy);
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
}

// What another user may have put where the settings are looked for is never
// used, and nothing is checked or written: an old settings file that others
// can change (or that is not the user's), or a FIFO in place of the settings,
// which must not hold the run either.
TEST_F(MivoCheckSettingsTest, SettingsSomeoneElseMayHavePutThereAreNotUsed) {
    server.start();
    writeWholeFile(legacyPath(), oldSettingsText());
    ASSERT_EQ(::chmod(legacyPath().c_str(), 0666), 0);

    const CheckRun oldFile = runMivoCheck({"--config", directory.path()});
    EXPECT_EQ(oldFile.exit.exitCode, kUsageError);
    EXPECT_EQ(oldFile.errors, "mivo-check: no settings in " + settingsPath() + " (" + legacyPath() +
                                  " can be changed by other users)\n");
    EXPECT_FALSE(fs::exists(settingsPath()));

    ASSERT_EQ(::mkfifo(settingsPath().c_str(), 0600), 0);
    const CheckRun fifo =
        runMivoCheck({"--config", directory.path()}, {}, std::chrono::seconds(10));
    EXPECT_FALSE(fifo.exit.timedOut);
    EXPECT_EQ(fifo.exit.exitCode, kUsageError);
    EXPECT_TRUE(contains(fifo.errors, settingsPath() + " is not a regular file")) << fifo.errors;
    EXPECT_TRUE(fs::is_fifo(settingsPath()));
    EXPECT_EQ(server.connections(), 0u);
}

// Without --config and --account, the desktop program's own settings.
TEST_F(MivoCheckSettingsTest, ChecksTheDesktopProgramsSettingsByDefault) {
    scriptMailbox(server, "alice", "pw", {});
    server.start();
    ChildOptions options;
    options.environment = {{"XDG_CONFIG_HOME", directory.path().string()}};
    const fs::path desktop = directory.path() / "Mivo.exe" / "Mivo.exe";

    const CheckRun none = runMivoCheck({}, options);
    EXPECT_EQ(none.exit.exitCode, kUsageError);
    EXPECT_EQ(none.errors, "mivo-check: no settings in " + (desktop / "Settings").string() + "\n");

    fs::create_directories(desktop);
    writeWholeFile(desktop / "Settings", settingsText({{"alice", "pw", host()}}));
    const CheckRun run = runMivoCheck({}, options);
    EXPECT_EQ(run.exit.exitCode, 1) << run.errors;
    EXPECT_TRUE(contains(readWholeFile(desktop / "Settings"), "CCW1=YES\r\n"));
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
}

// What cannot be used is reported and left as it was; nothing is checked.
TEST_F(MivoCheckSettingsTest, UnusableSettingsOrStateEndTheRunUntouched) {
    const std::string oversized(2 * 1024 * 1024, 'x');
    const std::string noAccount = "version=45\r\nTimeInterval=1\r\nUN1=\r\n";
    const std::string usable = settingsText({{"alice", "pw", host()}});
    struct Case {
        const char* what;
        std::string settings;  // empty: no file
        bool settingsIsDirectory;
        std::string state;   // empty: no --state
        std::string reason;  // DIR stands for the settings directory
    };
    const Case cases[] = {
        {"no settings", "", false, "", "no settings in DIR/Settings"},
        {"a directory", "", true, "",
         "cannot use the settings: DIR/Settings is not a regular file"},
        {"too large", oversized, false, "", "DIR/Settings is larger than"},
        {"no account", noAccount, false, "", "the settings in DIR/Settings have no account"},
        {"a foreign state", usable, false, "PATH=/bin\n", "DIR/state: not a mivo-check state"},
        {"a broken state", usable, false, "mivo-check state 1\nalice\t1\n", "DIR/state: line 2:"},
    };
    server.start();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        TemporaryDirectory config;
        const fs::path settings = config.path() / "Settings";
        const fs::path state = config.path() / "state";
        if (test.settingsIsDirectory) {
            fs::create_directory(settings);
        } else if (!test.settings.empty()) {
            writeWholeFile(settings, test.settings);
        }
        std::vector<std::string> arguments{"--config", config.path()};
        if (!test.state.empty()) {
            writeWholeFile(state, test.state);
            arguments.insert(arguments.end(), {"--state", state});
        }
        std::string reason = test.reason;
        reason.replace(reason.find("DIR"), 3, config.path().string());

        const CheckRun run = runMivoCheck(arguments);
        EXPECT_EQ(run.exit.exitCode, kUsageError);
        EXPECT_TRUE(run.output.empty()) << run.output;
        EXPECT_EQ(run.errors.rfind("mivo-check: ", 0), 0u) << run.errors;
        EXPECT_TRUE(contains(run.errors, reason)) << run.errors;
        if (test.settingsIsDirectory) {
            EXPECT_TRUE(fs::is_empty(settings));
        } else if (test.settings.empty()) {
            EXPECT_FALSE(fs::exists(settings));
        } else {
            EXPECT_EQ(readWholeFile(settings), test.settings);
        }
        if (!test.state.empty()) {
            EXPECT_EQ(readWholeFile(state), test.state);
        }
    }
    EXPECT_EQ(server.connections(), 0u);
}

}  // namespace
}  // namespace mivo::test
