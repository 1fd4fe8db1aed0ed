// Programs started for real: what each failure is reported as, the state a
// started program finds itself in, that none is left a zombie, and the
// whole web-site operation with a browser command of the test's own.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>

#include <QCoreApplication>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "EventLoopWait.h"
#include "FakePorts.h"
#include "FakeSocketPort.h"
#include "SavedVariable.h"
#include "TemporaryDirectory.h"
#include "app/Program.h"
#include "posix/PosixProcesses.h"

namespace mivo {
namespace {

using ExitWatch = ChildReaper::ExitWatch;
using Lines = std::vector<std::string>;

const std::string kUrl = "http://www.mivo.example.org/";

// A process's state letter (R, S, Z ...), or nothing once it is gone: a
// child that ended stays in the table as Z until its parent collects it.
std::optional<char> processState(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size()) {
        return std::nullopt;
    }
    return stat[close + 2];
}

// A whole program whose process starts are real, its other ports fakes, with
// its Log collected.
struct ProgramOnRealProcesses {
    ProgramOnRealProcesses() {
        program.log().onAppend([this](std::string_view line) { log.emplace_back(line); });
    }

    test::FakeUi ui;
    test::FakeClock clock;
    test::FakeTimers timers;
    test::FakeSocketPort sockets;
    test::FakeSettings settings;
    test::FakeRandom random;
    PosixProcesses processes;
    test::FakeInstallation installation;
    test::FakeDownloads downloads;
    Program program{
        Ports{ui, clock, timers, sockets, settings, random, processes, installation, downloads}};
    Lines log;
};

class ProgramStart : public ::testing::Test {
protected:
    // An executable shell script in the test's directory.
    std::string script(const std::string& name, const std::string& body) {
        const std::string path = directory / name;
        test::writeWholeFile(path, "#!/bin/sh\n" + body);
        ::chmod(path.c_str(), 0755);
        return path;
    }
    // A script that writes its arguments, one per line in brackets, to
    // `record`, whole or not at all.
    std::string recordingScript(const std::string& name, const std::string& record) {
        return script(name,
                      "out='" + record +
                          "'\n"
                          "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$out.part\"\n"
                          "mv \"$out.part\" \"$out\"\n");
    }
    // Runs the loop until `file` exists, and gives what it holds.
    static std::string awaitFile(const std::string& file) {
        const bool written = test::runEventLoopUntil([&] { return std::filesystem::exists(file); });
        EXPECT_TRUE(written) << file;
        return written ? test::readWholeFile(file) : std::string();
    }
    static void awaitAllCollected(const PosixProcesses& processes) {
        EXPECT_TRUE(test::runEventLoopUntil([&] { return processes.reaper().outstanding() == 0; }));
    }

    test::TemporaryDirectory directory;
};

TEST_F(ProgramStart, EachFailureIsTheCodeTheLogNames) {
    test::writeWholeFile(directory / "plain.txt", "not a program\n");
    ::chmod((directory / "plain.txt").c_str(), 0644);
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::optional<std::string> workingDirectory;
        int code;
    };
    const Case cases[] = {
        {"no such program in a folder that exists", {directory / "absent"}, std::nullopt, 2},
        {"no such program on PATH", {"mivo-test-no-such-program"}, std::nullopt, 2},
        {"nothing to start", {}, std::nullopt, 2},
        {"a folder on the way is missing", {directory / "absent/program"}, std::nullopt, 3},
        {"a file where a folder should be", {directory / "plain.txt/program"}, std::nullopt, 3},
        {"the working directory is missing", {"true"}, directory / "absent", 3},
        {"a file that may not be run", {directory / "plain.txt"}, std::nullopt, 5},
        {"a folder as the program", {directory.path().string()}, std::nullopt, 5},
    };
    PosixProcesses processes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(processes.startProgram(c.arguments, c.workingDirectory), c.code);
    }
    EXPECT_EQ(processes.reaper().outstanding(), 0U);
}

TEST_F(ProgramStart, RunsDetachedWhereItIsToldAndIsCollectedWhenItEnds) {
    struct Case {
        ExitWatch watch;
        bool pollsWhileRunning;
    };
    for (const Case c :
         {Case{ExitWatch::ProcessDescriptor, false}, Case{ExitWatch::Polling, true}}) {
        SCOPED_TRACE(c.pollsWhileRunning ? "polling" : "process descriptor");
        const std::string work = directory / (c.pollsWhileRunning ? "work dir 2" : "work dir 1");
        std::filesystem::create_directory(work);
        const std::string report = directory / "report.txt";
        std::filesystem::remove(report);
        // Its folder, its arguments, where its standard streams lead, its id
        // and its session's id.
        const std::string program =
            script("report", "out='" + report +
                                 "'\n"
                                 "streams=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                                 "{\n"
                                 "  pwd\n"
                                 "  for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n"
                                 "  printf '%s\\n' \"$streams\"\n"
                                 "  echo $$\n"
                                 "  read -r stat < /proc/$$/stat; set -- ${stat##*) }; echo $4\n"
                                 "} > \"$out.part\"\n"
                                 "mv \"$out.part\" \"$out\"\n");

        PosixProcesses processes(c.watch);
        ASSERT_EQ(processes.startProgram({program, "one", "two words", ""}, work), 0);
        EXPECT_EQ(processes.reaper().isPolling(), c.pollsWhileRunning);

        const std::string written = awaitFile(report);
        const std::string pid = written.substr(written.rfind('\n', written.size() - 2) + 1);
        EXPECT_EQ(written,
                  work + "\n[one]\n[two words]\n[]\n/dev/null\n/dev/null\n/dev/null\n" + pid + pid);
        // Once it ended it was a zombie until collected; collected, it is gone.
        const pid_t child = std::stoi(pid);
        EXPECT_TRUE(test::runEventLoopUntil([&] { return !processState(child).has_value(); }))
            << "state " << processState(child).value_or('?');
        EXPECT_EQ(processes.reaper().outstanding(), 0U);
        // Nothing wakes the program any more.
        EXPECT_FALSE(processes.reaper().isPolling());
    }
    // Other waits in the process still see their children end.
    struct sigaction action {};
    ASSERT_EQ(::sigaction(SIGCHLD, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
    EXPECT_EQ(action.sa_flags & SA_NOCLDWAIT, 0);
}

TEST_F(ProgramStart, AProgramIsAFileThisUserMayRunFoundByItsPathOrOnPath) {
    const test::SavedVariable path("PATH");
    std::filesystem::create_directory(directory / "My Programs");
    const std::string viewer = script("My Programs/viewer", "exit 0\n");
    test::writeWholeFile(directory / "notes.txt", "not a program\n");
    ::chmod((directory / "notes.txt").c_str(), 0644);
    ::setenv("PATH", ("/no/such/folder::" + directory / "My Programs").c_str(), 1);
    struct Case {
        std::string name;
        bool program;
    };
    const Case cases[] = {
        {viewer, true},
        {directory / "My", false},
        {directory / "My Programs", false},  // a folder
        {directory / "notes.txt", false},    // may not be run
        {"viewer", true},                    // on PATH
        {"notes.txt", false},
        {"", false},
    };
    PosixProcesses processes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(processes.isProgram(c.name), c.program);
    }
}

// A program path with blanks typed without quotes, as the Browse buttons
// wrote it, starts; and the file named for it is one argument, blanks in its
// folder's name and all.
TEST_F(ProgramStart, AnUnquotedProgramPathWithBlanksStartsWithTheFileAsOneArgument) {
    std::filesystem::create_directory(directory / "My Programs");
    const std::string record = directory / "recorded.txt";
    const std::string viewer = recordingScript("My Programs/viewer", record);
    ProgramOnRealProcesses run;

    CommandLine commandLine(viewer + " --page ");
    commandLine.addVerbatim("/home/me/My \"Mail\"/Mivo1.txt");
    EXPECT_TRUE(run.program.launcher().RunProgram(std::nullopt, commandLine));
    EXPECT_EQ(awaitFile(record), "[--page]\n[/home/me/My \"Mail\"/Mivo1.txt]\n");
    EXPECT_EQ(run.log, Lines{});
    awaitAllCollected(run.processes);
}

TEST_F(ProgramStart, TheBrowserCommandIsTheUsersOrTheDesktopsOpener) {
    const test::SavedVariable browser("BROWSER");
    struct Case {
        std::optional<std::string> variable;
        std::string command;
    };
    const Case cases[] = {
        {std::nullopt, "\"xdg-open\" \"%1\""},
        {"", "\"xdg-open\" \"%1\""},
        {"/opt/web/browse --new-window", "/opt/web/browse --new-window"},
    };
    PosixProcesses processes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        if (c.variable) {
            ::setenv("BROWSER", c.variable->c_str(), 1);
        } else {
            ::unsetenv("BROWSER");
        }
        EXPECT_EQ(processes.browserCommand(), c.command);
    }
}

TEST_F(ProgramStart, TheWebSiteOpensInTheBrowserOfBrowserOrTellsTheUser) {
    const test::SavedVariable browserVariable("BROWSER");
    const std::string record = directory / "recorded.txt";
    const std::string browser = recordingScript("browser", record);
    // A name with a blank: quoted it names nothing, without quotes its first
    // word is a browser and the rest an argument.
    const std::string blankBrowser = directory / "web browser";
    recordingScript("web", record);
    const std::string missing = directory / "absent/browser";
    struct Case {
        std::string browser;
        Lines log;
        std::optional<std::string> recorded;
        bool message;
    };
    const Case cases[] = {
        {browser,
         {"proggie to launch = ", browser, "Successfully launched ", '"' + browser + "\" " + kUrl},
         "[" + kUrl + "]\n",
         false},
        {blankBrowser,
         {"proggie to launch = ", blankBrowser, "CreateProcess Failed err", "File Not Found",
          "Failed to launch ", '"' + blankBrowser + "\" " + kUrl,
          ":-( failed to launch, trying without \"'s : ", blankBrowser + " " + kUrl,
          "Successfully launched ", blankBrowser + " " + kUrl},
         "[browser]\n[" + kUrl + "]\n",
         false},
        {missing,
         {"proggie to launch = ", missing, "CreateProcess Failed err", "Path Not Found",
          "Failed to launch ", '"' + missing + "\" " + kUrl,
          ":-( failed to launch, trying without \"'s : ", missing + " " + kUrl,
          "CreateProcess Failed err", "Path Not Found", "Failed Miserably :-( ",
          missing + " " + kUrl},
         std::nullopt,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.browser);
        std::filesystem::remove(record);
        ::setenv("BROWSER", c.browser.c_str(), 1);
        ProgramOnRealProcesses run;

        run.program.mainWindow().WebLaunchClick();

        EXPECT_EQ(run.log, c.log);
        if (c.recorded) {
            EXPECT_EQ(awaitFile(record), *c.recorded);
        }
        EXPECT_EQ(run.ui.messageBoxes.size(), c.message ? 1U : 0U);
        awaitAllCollected(run.processes);
    }
}

}  // namespace
}  // namespace mivo
