// Any user can read a process's command line on Linux: a password given as
// an argument must be gone from it while the program runs.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "LoopbackPort.h"

namespace mivo::test {
namespace {

const std::string kPassword = "correct-horse-battery";

std::string commandLineOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Waits, within a generous bound, for the program to have started (the
// child runs the test's own image until its exec) and to have overwritten
// the password.
void expectPasswordLeavesTheProcessList(const ChildProcess& child) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    const auto blanked = [](const std::string& commandLine) {
        return commandLine.find("bob") != std::string::npos &&
               commandLine.find(kPassword) == std::string::npos;
    };
    std::string commandLine = commandLineOf(child.pid());
    while (!blanked(commandLine) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        commandLine = commandLineOf(child.pid());
    }
    EXPECT_TRUE(blanked(commandLine)) << commandLine;
}

TEST(ProcessList, MivoCheckBlanksItsAccountPasswords) {
    // A server that accepts and never says a word keeps the check waiting.
    const LoopbackListener silent;
    ChildProcess child({MIVO_CHECK_PROGRAM, "--account", "bob", kPassword, silent.hostAndPort()},
                       {"/dev/null", "/dev/null", {}, false});
    expectPasswordLeavesTheProcessList(child);
}

#ifdef MIVO_PROGRAM
TEST(ProcessList, TheDesktopProgramBlanksAOneOffAccountsPassword) {
    const QTemporaryDir home;
    const std::string base = home.path().toStdString();
    const LoopbackListener silent;
    ChildProcess child(
        {MIVO_PROGRAM, "bob", kPassword, silent.hostAndPort()},
        {"/dev/null",
         "/dev/null",
         {{"QT_QPA_PLATFORM", "offscreen"}, {"HOME", base}, {"XDG_CONFIG_HOME", base + "/config"}},
         false});
    expectPasswordLeavesTheProcessList(child);
}
#endif

}  // namespace
}  // namespace mivo::test
