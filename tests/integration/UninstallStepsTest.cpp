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
#include "posix/StateFile.h"
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
    ".local/state/mivo/seen-mail",
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
        ::unsetenv("XDG_STATE_HOME");
    }

    void create(const std::string& below) const {
        fs::create_directories(fs::path(home + "/" + below).parent_path());
        test::writeWholeFile(home + "/" + below, "x");
    }
    bool exists(const std::string& below) const {
        return fs::exists(fs::symlink_status(home + "/" + below));
    }
    // The four steps as the uninstall window runs them, in a program whose
    // file is `runningProgram`.
    void uninstall(const std::string& runningProgram) {
        RunningFrom settings(runningProgram);
        UserInstallation installation;
        StateFile state(StateFile::desktopPath());
        UninstallSteps steps(settings, installation);
        steps.removeStateToo(state);
        steps.removeSettings();
        steps.removeMenuGroup();
        steps.removeStartupEntry();
        steps.removeProgramFiles();
    }

    // The desktop program's settings files, run from another program file
    // than this test's.
    class RunningFrom : public SettingsFiles {
    public:
        explicit RunningFrom(std::string program)
            : SettingsFiles(desktopDirectory(), kLegacyFileName), m_program(std::move(program)) {}
        std::optional<std::string> programPath() override { return m_program; }

    private:
        std::string m_program;
    };

    test::SavedVariable savedHome{"HOME"};
    test::SavedVariable savedConfig{"XDG_CONFIG_HOME"};
    test::SavedVariable savedData{"XDG_DATA_HOME"};
    test::SavedVariable savedState{"XDG_STATE_HOME"};
    test::TemporaryDirectory temporary;
    std::string home = temporary / "home";
};

TEST_F(UninstallStepsTest, AnInstallationGoesWithItsFoldersButTheSharedOnesStay) {
    for (const std::string& file : kInstalled) {
        create(file);
    }
    uninstall(home + "/.local/bin/mivo");
    std::vector<std::string> gone = kInstalled;
    gone.insert(gone.end(), {".config/Mivo.exe/Mivo.exe", ".local/share/applications/Mivo",
                             ".local/bin", ".local/state/mivo"});
    for (const std::string& path : gone) {
        EXPECT_FALSE(exists(path)) << path;
    }
    // The outer settings folder, and the desktop's own folders.
    for (const char* kept :
         {".config/Mivo.exe", ".config/autostart", ".local/share/applications", ".local/state"}) {
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
    uninstall(home + "/.local/bin/mivo");
    for (const std::string& file : kInstalled) {
        EXPECT_FALSE(exists(file)) << file;
    }
    for (const std::string& file : kUsersOwn) {
        EXPECT_TRUE(exists(file)) << file;
    }
}

// Only the regular files of the installed names go. A link is not what the
// installation put there, and a linked folder (a menu folder kept in a
// dotfiles repository, say) is neither entered nor removed.
TEST_F(UninstallStepsTest, LinksAndWhatTheyLeadToStay) {
    const std::string elsewhere = temporary / "dotfiles";
    for (const char* file : {"menu/mivo.desktop", "menu/mivo help.desktop", "bin/mivo-check"}) {
        fs::create_directories(fs::path(elsewhere + "/" + file).parent_path());
        test::writeWholeFile(elsewhere + "/" + file, "x");
    }
    create(".local/bin/mivo");
    fs::create_directories(home + "/.local/share/applications");
    fs::create_symlink(elsewhere + "/menu", home + "/.local/share/applications/Mivo");
    fs::create_symlink(elsewhere + "/bin/mivo-check", home + "/.local/bin/mivo-check");
    create(".config/autostart/real.desktop");
    fs::create_symlink(home + "/.config/autostart/real.desktop",
                       home + "/.config/autostart/mivo.desktop");

    uninstall(home + "/.local/bin/mivo");
    EXPECT_FALSE(exists(".local/bin/mivo"));
    for (const char* kept : {".local/share/applications/Mivo", ".local/bin/mivo-check",
                             ".config/autostart/mivo.desktop", ".config/autostart/real.desktop"}) {
        EXPECT_TRUE(exists(kept)) << kept;
    }
    for (const char* file : {"menu/mivo.desktop", "menu/mivo help.desktop", "bin/mivo-check"}) {
        EXPECT_TRUE(fs::exists(elsewhere + "/" + file)) << file;
    }
}

// The copy that runs is removed, not the one the settings last named.
TEST_F(UninstallStepsTest, TheRunningCopyGoesWhicheverCopySavedTheSettings) {
    create(".local/bin/mivo");
    create("src/mivo/build/src/gui/mivo");
    create(".config/Mivo.exe/Mivo.exe/Settings");
    test::writeWholeFile(home + "/.config/Mivo.exe/Mivo.exe/Settings",
                         "EXENAME=" + home + "/src/mivo/build/src/gui/mivo\r\n");
    uninstall(home + "/.local/bin/mivo");
    EXPECT_FALSE(exists(".local/bin/mivo"));
    EXPECT_TRUE(exists("src/mivo/build/src/gui/mivo"));
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
