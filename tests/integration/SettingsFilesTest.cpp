// The settings files on a real file system: where they go, their modes, what
// cannot be read or written, and that a save killed at any moment never
// leaves a torn file.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "SavedVariable.h"
#include "posix/FileText.h"
#include "posix/SettingsFiles.h"

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
