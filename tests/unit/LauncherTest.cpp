#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "CheckFixture.h"

namespace mivo {
namespace {

using Lines = std::vector<std::string>;
using Words = std::vector<std::string>;

class LauncherFixture : public ::testing::Test, public test::ProgramOnFakes {
protected:
    LauncherFixture() { logLines.clear(); }
    Launcher& launcher() { return program.launcher(); }
    Words startedWith(std::size_t start) const { return processes.starts.at(start).arguments; }
};

TEST_F(LauncherFixture, AFailedRunIsLoggedWithTheReasonItsCodeNames) {
    struct Case {
        int code;
        Lines log;
    };
    const Case cases[] = {
        {0, {}},
        {2, {"CreateProcess Failed err", "File Not Found"}},
        {3, {"CreateProcess Failed err", "Path Not Found"}},
        {5, {"CreateProcess Failed err", "Access Denied"}},
        {8, {"CreateProcess Failed err"}},
        {1400, {"CreateProcess Failed err"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        logLines.clear();
        processes.starts.clear();
        processes.results = {c.code};
        EXPECT_EQ(launcher().RunProgram(std::nullopt, "mail"), c.code == 0);
        EXPECT_EQ(logLines, c.log);
    }
}

TEST_F(LauncherFixture, TheProgramComesFirstAndTheCommandLinesWordsFollow) {
    struct Case {
        std::optional<std::string> program;
        std::string commandLine;
        std::optional<std::string> directory;
        Words arguments;
    };
    const Case cases[] = {
        // The new-mail window's Launch: a program, its argument text framed in
        // blanks, and the program's folder.
        {"/opt/mail/mail.exe", "  -x   ", "/opt/mail", {"/opt/mail/mail.exe", "-x"}},
        // ... or the whole setting with three blanks appended.
        {"/usr/bin/mail-client   ", "", std::nullopt, {"/usr/bin/mail-client"}},
        // The program path is one name, blanks and all.
        {"/opt/My Mail/mail", "\"a b\" c", std::nullopt, {"/opt/My Mail/mail", "a b", "c"}},
        // A rule's program: one command line naming the program.
        {std::nullopt,
         "\"/opt/My Viewer/view\" /tmp/Mivo12.txt",
         std::nullopt,
         {"/opt/My Viewer/view", "/tmp/Mivo12.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        processes.starts.clear();
        EXPECT_TRUE(launcher().RunProgram(c.program, c.commandLine, c.directory));
        ASSERT_EQ(processes.starts.size(), 1U);
        EXPECT_EQ(startedWith(0), c.arguments);
        EXPECT_EQ(processes.starts[0].workingDirectory, c.directory);
    }
}

TEST_F(LauncherFixture, ABlankCommandLineNamesNoProgramToFind) {
    EXPECT_FALSE(launcher().RunProgram(std::nullopt, "   "));
    EXPECT_TRUE(processes.starts.empty());
    EXPECT_EQ(logLines, (Lines{"CreateProcess Failed err", "File Not Found"}));
}

TEST_F(LauncherFixture, TheWebSiteIsTriedWithQuotesThenWithoutThenTheUserIsTold) {
    const std::string url = "http://www.mivo.example.org/";
    struct Case {
        const char* name;
        std::string browser;
        std::vector<int> results;
        Lines log;
        std::vector<Words> starts;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {"first try starts",
         "\"/usr/bin/web\" \"%1\"",
         {0},
         {"proggie to launch = ", "\"/usr/bin/web\" \"%1\"", "Successfully launched ",
          "\"/usr/bin/web\" " + url},
         {{"/usr/bin/web", url}},
         std::nullopt},
        {"second try starts",
         "/usr/bin/web %1",
         {2, 0},
         {"proggie to launch = ", "/usr/bin/web %1", "CreateProcess Failed err", "File Not Found",
          "Failed to launch ", "\"/usr/bin/web \" " + url,
          ":-( failed to launch, trying without \"'s : ", "/usr/bin/web  " + url,
          "Successfully launched ", "/usr/bin/web  " + url},
         {{"/usr/bin/web ", url}, {"/usr/bin/web", url}},
         std::nullopt},
        {"neither starts",
         "C:\\WEB\\BROWSE.EXE -nohome %1",
         {3, 5},
         {"proggie to launch = ", "C:\\WEB\\BROWSE.EXE -nohome %1", "CreateProcess Failed err",
          "Path Not Found", "Failed to launch ", "\"C:\\WEB\\BROWSE.EXE\" " + url,
          ":-( failed to launch, trying without \"'s : ", "C:\\WEB\\BROWSE.EXE " + url,
          "CreateProcess Failed err", "Access Denied", "Failed Miserably :-( ",
          "C:\\WEB\\BROWSE.EXE " + url},
         {{"C:\\WEB\\BROWSE.EXE", url}, {"C:\\WEB\\BROWSE.EXE", url}},
         "I could not launch your web browser with the command ` C:\\WEB\\BROWSE.EXE " + url +
             " '."},
        {"no browser command",
         "",
         {2, 3},
         {"proggie to launch = ", "", "CreateProcess Failed err", "File Not Found",
          "Failed to launch ", "\"\" " + url,
          ":-( failed to launch, trying without \"'s : ", " " + url, "CreateProcess Failed err",
          "Path Not Found", "Failed Miserably :-( ", " " + url},
         {{"", url}, {url}},
         "I could not launch your web browser with the command `  " + url + " '."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logLines.clear();
        processes.starts.clear();
        ui.messageBoxes.clear();
        processes.browser = c.browser;
        processes.results = c.results;
        program.mainWindow().WebLaunchClick();
        EXPECT_EQ(logLines, c.log);
        std::vector<Words> starts;
        for (const auto& start : processes.starts) {
            starts.push_back(start.arguments);
            EXPECT_EQ(start.workingDirectory, std::nullopt);
        }
        EXPECT_EQ(starts, c.starts);
        if (c.message) {
            ASSERT_EQ(ui.messageBoxes.size(), 1U);
            EXPECT_EQ(ui.messageBoxes[0].title, "Your browser is not working");
            EXPECT_EQ(ui.messageBoxes[0].text, *c.message);
        } else {
            EXPECT_TRUE(ui.messageBoxes.empty());
        }
    }
}

TEST_F(LauncherFixture, AnOverlongBrowserCommandIsCutNotOverrun) {
    processes.browser = std::string(3000, 'w');
    processes.results = {2, 2};
    launcher().OpenWebSite();
    for (const std::string& line : logLines) {
        EXPECT_LE(line.size(), 699U);
    }
    EXPECT_EQ(logLines.at(1), std::string(699, 'w'));
    ASSERT_EQ(ui.messageBoxes.size(), 1U);
    EXPECT_LE(ui.messageBoxes[0].text.size(), 699U);
}

TEST_F(LauncherFixture, HelpOpensTheHelpWindowAndLogsNothing) {
    program.mainWindow().HelpClick();
    EXPECT_EQ(ui.helpShown, 1);
    EXPECT_TRUE(logLines.empty());
    EXPECT_TRUE(processes.starts.empty());
}

}  // namespace
}  // namespace mivo
