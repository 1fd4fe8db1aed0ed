// The uninstaller's removals on a real file system, in a private home:
// the program's files go, whatever the user keeps beside them stays, and a
// missing file or folder is passed over.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SavedVariable.h"
#include "TemporaryDirectory.h"
#include "posix/SettingsFiles.h"
#include "posix/UserInstallation.h"
#include "uninstall/UninstallSteps.h"

namespace mivo {
namespace {

namespace fs = std::filesystem;

// What an installation leaves in a home, below it.
const std::vector<std::string> kInstalled = {
    ".config/Mivo.exe/Mivo.exe/Settings",
    ".local/share/applications/Mivo/mivo.desktop",
    ".local/share/applications/Mivo/mivo uninstaller.desktop",
    ".local/share/applications/Mivo/mivo help.desktop",
    ".config/autostart/mivo.desktop",
    ".local/bin/mivo",
    ".local/bin/mivo-check",
    ".local/share/man/man1/mivo.1",
    ".local/share/man/man1/mivo-check.1",
    ".local/share/icons/hicolor/32x32/apps/mivo.png",
    ".local/share/icons/hicolor/256x256/apps/mivo.png",
};
// What the user keeps beside it.
const std::vector<std::string> kUsersOwn = {
    ".config/Mivo.exe/Mivo.exe/notes.txt",
    ".local/share/applications/Mivo/my-mail.desktop",
    ".config/autostart/other.desktop",
    ".local/bin/other-tool",
    ".local/bin/mivo.hlp",
    ".local/share/man/man1/other.1",
    ".local/share/icons/hicolor/32x32/apps/other.png",
};

class UninstallStepsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }

    void create(const std::string& below) const {
        fs::create_directories(fs::path(home + "/" + below).parent_path());
        test::writeWholeFile(home + "/" + below, "x");
    }
    bool exists(const std::string& below) const {
        return fs::exists(fs::symlink_status(home + "/" + below));
    }
    // The four steps as the uninstall window runs them.
    void uninstall(const std::string& storedProgramPath) {
        SettingsFiles settings(SettingsFiles::desktopDirectory(), SettingsFiles::kLegacyFileName);
        UserInstallation installation;
        UninstallSteps steps(settings, installation);
        steps.removeSettings();
        steps.removeMenuGroup();
        steps.removeStartupEntry();
        steps.removeProgramFiles(storedProgramPath);
    }

    test::SavedVariable savedHome{"HOME"};
    test::SavedVariable savedConfig{"XDG_CONFIG_HOME"};
    test::SavedVariable savedData{"XDG_DATA_HOME"};
    test::TemporaryDirectory temporary;
    std::string home = temporary / "home";
};

TEST_F(UninstallStepsTest, AnInstallationGoesWithItsFoldersButTheSharedOnesStay) {
    for (const std::string& file : kInstalled) {
        create(file);
    }
    uninstall(home + "/.local/bin/mivo");
    std::vector<std::string> gone = kInstalled;
    gone.insert(gone.end(),
                {".config/Mivo.exe/Mivo.exe", ".local/share/applications/Mivo", ".local/bin"});
    for (const std::string& path : gone) {
        EXPECT_FALSE(exists(path)) << path;
    }
    // The outer settings folder, and the desktop's own folders.
    for (const char* kept :
         {".config/Mivo.exe", ".config/autostart", ".local/share/applications"}) {
        EXPECT_TRUE(exists(kept)) << kept;
    }
}

TEST_F(UninstallStepsTest, WhatTheUserKeepsBesideTheProgramsFilesSurvives) {
    for (const std::string& file : kInstalled) {
        create(file);
    }
    for (const std::string& file : kUsersOwn) {
        create(file);
    }
    // A menu entry that is a link: the link goes, not what it points to.
    fs::remove(home + "/.local/share/applications/Mivo/mivo help.desktop");
    fs::create_symlink(home + "/.local/bin/other-tool",
                       home + "/.local/share/applications/Mivo/mivo help.desktop");
    uninstall(home + "/.local/bin/mivo");
    for (const std::string& file : kInstalled) {
        EXPECT_FALSE(exists(file)) << file;
    }
    for (const std::string& file : kUsersOwn) {
        EXPECT_TRUE(exists(file)) << file;
    }
}

TEST_F(UninstallStepsTest, NothingInstalledIsPassedOverAndNothingIsCreated) {
    fs::create_directories(home);
    uninstall(home + "/.local/bin/mivo");
    EXPECT_TRUE(fs::is_empty(home));
}

TEST_F(UninstallStepsTest, AFolderNamedLikeAProgramFileIsNotRemoved) {
    create(".local/bin/mivo-check/keep.txt");
    uninstall(home + "/.local/bin/mivo");
    EXPECT_TRUE(exists(".local/bin/mivo-check/keep.txt"));
}

TEST_F(UninstallStepsTest, TheXdgFoldersAreWhereTheMenuStartupAndSettingsAre) {
    const std::string data = temporary / "data";
    const std::string config = temporary / "config";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    for (const std::string& file : kInstalled) {
        create(file);  // below HOME, where these variables say they are not
    }
    for (const std::string& file :
         {data + "/applications/Mivo/mivo.desktop", config + "/autostart/mivo.desktop",
          config + "/Mivo.exe/Mivo.exe/Settings"}) {
        fs::create_directories(fs::path(file).parent_path());
        test::writeWholeFile(file, "x");
    }
    uninstall(home + "/.local/bin/mivo");
    EXPECT_FALSE(fs::exists(data + "/applications/Mivo"));
    EXPECT_FALSE(fs::exists(config + "/autostart/mivo.desktop"));
    EXPECT_FALSE(fs::exists(config + "/Mivo.exe/Mivo.exe"));
    EXPECT_TRUE(fs::exists(config + "/Mivo.exe"));
    for (const char* kept :
         {".local/share/applications/Mivo/mivo.desktop", ".config/autostart/mivo.desktop",
          ".config/Mivo.exe/Mivo.exe/Settings"}) {
        EXPECT_TRUE(exists(kept)) << kept;
    }
}

}  // namespace
}  // namespace mivo
