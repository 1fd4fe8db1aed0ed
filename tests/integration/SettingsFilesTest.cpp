// The settings files on a real file system: where they go, their modes, what
// cannot be read or written, and that a save killed at any moment never
// leaves a torn file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "SavedVariable.h"
#include "posix/FileText.h"
#include "posix/SettingsFiles.h"
#include "posix/StateFile.h"

namespace mivo {
namespace {

mode_t modeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

std::string contentOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class SettingsFilesTest : public ::testing::Test {
protected:
    QTemporaryDir temporary;
    std::string base() const { return temporary.path().toStdString(); }
};

TEST_F(SettingsFilesTest, ASaveCreatesPrivateDirectoriesAndAPrivateFile) {
    const std::string directory = base() + "/config/Mivo.exe/Mivo.exe";
    SettingsFiles files(directory, base() + "/mivo24.txt");
    EXPECT_EQ(files.readSettings().state, StoredText::State::Absent);

    EXPECT_EQ(files.writeSettings("UN1=a\r\n"), std::nullopt);
    EXPECT_EQ(files.writeSettings("UN1=b\r\n"), std::nullopt);
    const StoredText stored = files.readSettings();
    EXPECT_EQ(stored.state, StoredText::State::Present);
    EXPECT_EQ(stored.text, "UN1=b\r\n");
    EXPECT_EQ(modeOf(directory + "/Settings"), 0600U);
    EXPECT_EQ(modeOf(directory), 0700U);
    EXPECT_EQ(modeOf(base() + "/config/Mivo.exe"), 0700U);
    // Nothing is left beside it.
    EXPECT_EQ(QDir(QString::fromStdString(directory)).entryList(QDir::Files).size(), 1);
}

using test::SavedVariable;

TEST_F(SettingsFilesTest, TheDesktopDirectoryFollowsXdgConfigHome) {
    const SavedVariable config("XDG_CONFIG_HOME");
    const SavedVariable home("HOME");
    ::setenv("XDG_CONFIG_HOME", "/elsewhere/conf", 1);
    EXPECT_EQ(SettingsFiles::desktopDirectory(), "/elsewhere/conf/Mivo.exe/Mivo.exe");
    // A relative value is not a base directory; the home's .config is.
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(SettingsFiles::desktopDirectory(), "/home/someone/.config/Mivo.exe/Mivo.exe");
}

TEST_F(SettingsFilesTest, WhatCannotBeReadOrWrittenSaysWhy) {
    // A directory where the file should be: it exists, and is no text.
    ::mkdir((base() + "/Settings").c_str(), 0700);
    SettingsFiles blocked(base(), base() + "/mivo24.txt");
    const StoredText unreadable = blocked.readSettings();
    EXPECT_EQ(unreadable.state, StoredText::State::Unreadable);
    EXPECT_NE(unreadable.reason.find(base() + "/Settings"), std::string::npos);
    const std::optional<std::string> failure = blocked.writeSettings("UN1=a\r\n");
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("Cannot rename"), std::string::npos) << *failure;

    // A file far larger than any settings text is not read into memory.
    const std::string huge = base() + "/huge";
    std::ofstream(huge) << std::string(2 * 1024 * 1024, 'x');
    EXPECT_EQ(readTextFile(huge, 1024 * 1024).state, StoredText::State::Unreadable);

    // A directory that cannot be made.
    std::ofstream(base() + "/plain") << "file";
    SettingsFiles nowhere(base() + "/plain/sub", base() + "/mivo24.txt");
    EXPECT_TRUE(nowhere.writeSettings("x").has_value());
}

// Something else where the settings should be is refused at once, with the
// reason: a FIFO would otherwise hold the program before its first window.
TEST_F(SettingsFilesTest, OnlyARegularFileIsReadAndNothingElseIsWaitedFor) {
    SettingsFiles files(base(), base() + "/mivo24.txt");
    ASSERT_EQ(::mkfifo(files.settingsPath().c_str(), 0600), 0);
    const auto started = std::chrono::steady_clock::now();
    const StoredText fifo = files.readSettings();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(fifo.state, StoredText::State::Unreadable);
    EXPECT_EQ(fifo.reason, files.settingsPath() + " is not a regular file");

    const StoredText device = readTextFile("/dev/zero", 1024);
    EXPECT_EQ(device.state, StoredText::State::Unreadable);
    EXPECT_EQ(device.reason, "/dev/zero is not a regular file");
}

// Settings kept elsewhere through a link (a dotfiles repository) are saved
// into the file the link names, which is replaced whole; the link stays.
TEST_F(SettingsFilesTest, ASaveThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
    namespace fs = std::filesystem;
    const std::string dotfiles = base() + "/dotfiles";
    ASSERT_EQ(::mkdir(dotfiles.c_str(), 0700), 0);
    const std::string directory = base() + "/config";
    ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);
    SettingsFiles files(directory, base() + "/mivo24.txt");
    struct Case {
        const char* what;
        std::string linkText;  // what the link at the settings path says
        std::string target;    // the file that must hold the text
    };
    const Case cases[] = {
        {"absolute, to a file not there yet", dotfiles + "/mivo", dotfiles + "/mivo"},
        {"relative", "../dotfiles/mivo", dotfiles + "/mivo"},
        {"to another link", base() + "/hop", dotfiles + "/mivo"},
    };
    fs::create_symlink("dotfiles/mivo", base() + "/hop");
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(files.settingsPath());
        fs::create_symlink(c.linkText, files.settingsPath());
        const std::string text = "UN1=" + std::to_string(++round) + "\r\n";
        EXPECT_EQ(files.writeSettings(text), std::nullopt);
        EXPECT_TRUE(fs::is_symlink(files.settingsPath()));
        EXPECT_EQ(fs::read_symlink(files.settingsPath()).string(), c.linkText);
        EXPECT_EQ(contentOf(c.target), text);
        EXPECT_EQ(modeOf(c.target), 0600U);
        EXPECT_EQ(files.readSettings().text, text);
    }
    // A loop of links is refused, and nothing is written.
    fs::remove(files.settingsPath());
    fs::create_symlink(files.settingsPath(), files.settingsPath());
    const std::optional<std::string> failure = files.writeSettings("UN1=x\r\n");
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("Cannot follow"), std::string::npos) << *failure;
    EXPECT_TRUE(fs::is_symlink(files.settingsPath()));
}

// The old file is looked for in the working directory, which may be a
// shared one: only the user's own file that nobody else can change is read.
TEST_F(SettingsFilesTest, TheOldFileIsReadOnlyWhenItIsTheUsersAlone) {
    const std::string legacy = base() + "/mivo24.txt";
    SettingsFiles files(base(), legacy);
    EXPECT_EQ(files.readLegacyFile().state, StoredText::State::Absent);
    struct Case {
        const char* what;
        mode_t mode;
        std::optional<std::string> reason;  // none: read
    };
    const Case cases[] = {
        {"the user's own", 0644, std::nullopt},
        {"private", 0600, std::nullopt},
        {"others may write to it", 0646, legacy + " can be changed by other users"},
        {"the group may write to it", 0664, legacy + " can be changed by other users"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(legacy) << "alice\n";
        ASSERT_EQ(::chmod(legacy.c_str(), c.mode), 0);
        const StoredText read = files.readLegacyFile();
        if (c.reason) {
            EXPECT_EQ(read.state, StoredText::State::Ignored);
            EXPECT_EQ(read.reason, *c.reason);
            EXPECT_TRUE(read.text.empty());
        } else {
            EXPECT_EQ(read.state, StoredText::State::Present);
            EXPECT_EQ(read.text, "alice\n");
        }
    }
    ASSERT_EQ(::chmod(legacy.c_str(), 0644), 0);
    // Someone else's file; only a privileged test run can make one.
    if (::chown(legacy.c_str(), 65534, 65534) == 0) {
        const StoredText foreign = files.readLegacyFile();
        EXPECT_EQ(foreign.state, StoredText::State::Ignored);
        EXPECT_EQ(foreign.reason, legacy + " belongs to another user");
    }
    ::unlink(legacy.c_str());
    ASSERT_EQ(::mkfifo(legacy.c_str(), 0600), 0);
    const StoredText fifo = files.readLegacyFile();
    EXPECT_EQ(fifo.state, StoredText::State::Ignored);
    EXPECT_EQ(fifo.reason, legacy + " is not a regular file");
}

// The desktop program's seen mail: below the XDG state folder, private, and
// gone with its folder when the uninstaller removes it.
TEST_F(SettingsFilesTest, TheStateFileIsPrivateAndGoesWithItsFolder) {
    const SavedVariable state("XDG_STATE_HOME");
    const SavedVariable home("HOME");
    ::setenv("HOME", "/home/someone", 1);
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(StateFile::desktopPath(), "/home/someone/.local/state/mivo/seen-mail");
    ::setenv("XDG_STATE_HOME", (base() + "/state").c_str(), 1);
    const std::string path = base() + "/state/mivo/seen-mail";
    EXPECT_EQ(StateFile::desktopPath(), path);

    StateFile file(StateFile::desktopPath());
    EXPECT_EQ(file.readState().state, StoredText::State::Absent);
    EXPECT_EQ(file.writeState("mivo-check state 1\n"), std::nullopt);
    EXPECT_EQ(file.readState().text, "mivo-check state 1\n");
    EXPECT_EQ(modeOf(path), 0600U);
    EXPECT_EQ(modeOf(base() + "/state/mivo"), 0700U);
    // The ids of a few large mailboxes are read back whole.
    // Built by appending: GCC 12 takes a literal put before a temporary
    // string for an overlapping copy at -O3 (a false -Wrestrict).
    std::string ids = "mivo-check state 2\n";
    for (int mailbox = 1; mailbox <= 8; ++mailbox) {
        ids.append("user").append(std::to_string(mailbox)).append("\thost\t100000\t");
        for (int message = 1; message <= 100000; ++message) {
            ids.append(message == 1 ? "" : " ")
                .append(std::to_string(message))
                .append("-0123456789abcdef");
        }
        ids += "\n";
    }
    EXPECT_EQ(file.writeState(ids), std::nullopt);
    EXPECT_EQ(file.readState().text, ids);
    file.removeState();
    EXPECT_FALSE(QDir(QString::fromStdString(base() + "/state/mivo")).exists());
    EXPECT_TRUE(QDir(QString::fromStdString(base() + "/state")).exists());
}

TEST_F(SettingsFilesTest, TheProgramPathIsThisProcessesFile) {
    SettingsFiles files(base(), base() + "/mivo24.txt");
    const std::optional<std::string> path = files.programPath();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->front(), '/');
    EXPECT_NE(path->find("mivo_integration_tests"), std::string::npos);
}

// A saver killed at random points, again and again: the file is always
// either the old text or the new one, whole.
TEST_F(SettingsFilesTest, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewText) {
    const std::string path = base() + "/Settings";
    const std::string first(3000, 'a');
    const std::string second = std::string(5000, 'b') + "\r\n";
    ASSERT_EQ(replaceTextFile(path, first), std::nullopt);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 3000);
    for (int round = 0; round < 60; ++round) {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            for (int i = 0;; ++i) {
                replaceTextFile(path, i % 2 == 0 ? second : first);
            }
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ::waitpid(saver, &status, 0);
        const std::string text = contentOf(path);
        ASSERT_TRUE(text == first || text == second)
            << "round " << round << ": " << text.size() << " bytes";
    }
}

}  // namespace
}  // namespace mivo
