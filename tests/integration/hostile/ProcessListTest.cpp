// Any user can read a process's command line on Linux: a password given as
// an argument must be gone from it while the program runs.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "FileDescriptor.h"
#include "LoopbackPort.h"

namespace mivo::test {
namespace {

const std::string kPassword = "correct-horse-battery";

// One line the client sent, without its CR LF; empty when none comes within
// a generous bound.
std::string readLine(int socket) {
    const timeval limit{20, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string line;
    char c = 0;
    while (::recv(socket, &c, 1, 0) == 1 && c != '\n') {
        line.push_back(c);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

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

// A password from a file is never an argument at all.
TEST(ProcessList, MivoCheckTakesAPasswordFromAFile) {
    const QTemporaryDir directory;
    const std::string passwordFile = directory.filePath("password").toStdString();
    {
        std::ofstream file(passwordFile);
        file << kPassword << "\n";
    }
    // The server checks the password it is given, then keeps silent.
    const LoopbackListener server;
    ChildProcess child({MIVO_CHECK_PROGRAM, "--password-file", passwordFile, "--account", "bob",
                        server.hostAndPort()},
                       {"/dev/null", "/dev/null", {}, false});
    const FileDescriptor connection = server.accept(std::chrono::seconds(20));
    ASSERT_GE(connection.get(), 0);
    const std::string greeting = "+OK ready\r\n";
    ASSERT_EQ(::send(connection.get(), greeting.data(), greeting.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(greeting.size()));
    EXPECT_EQ(readLine(connection.get()), "USER bob");
    const std::string accepted = "+OK\r\n";
    ::send(connection.get(), accepted.data(), accepted.size(), MSG_NOSIGNAL);
    EXPECT_EQ(readLine(connection.get()), "PASS " + kPassword);
    EXPECT_EQ(commandLineOf(child.pid()).find(kPassword), std::string::npos);
}

#ifdef MIVO_PROGRAM
TEST(ProcessList, TheDesktopProgramBlanksAOneOffAccountsPassword) {
    const QTemporaryDir home;
    const std::string base = home.path().toStdString();
    const LoopbackListener silent;
    const std::vector<std::pair<std::string, std::string>> environment = {
        {"QT_QPA_PLATFORM", "offscreen"}, {"HOME", base}, {"XDG_CONFIG_HOME", base + "/config"}};
    // The account as the only arguments, and after Qt's own options, which
    // Qt takes away before the program sees the account.
    const std::vector<std::vector<std::string>> commandLines = {
        {MIVO_PROGRAM, "bob", kPassword, silent.hostAndPort()},
        {MIVO_PROGRAM, "-platform", "offscreen", "bob", kPassword, silent.hostAndPort()},
    };
    for (const std::vector<std::string>& commandLine : commandLines) {
        SCOPED_TRACE(commandLine.size());
        ChildProcess child(commandLine, {"/dev/null", "/dev/null", environment, false});
        expectPasswordLeavesTheProcessList(child);
    }
}

// Qt's start can take its time, here for ever, waiting for a display that
// never answers: the password is gone before it begins.
TEST(ProcessList, TheDesktopProgramBlanksThePasswordBeforeQtStarts) {
    const QTemporaryDir home;
    const std::string base = home.path().toStdString();
    const LoopbackListener display;  // accepts, and never says a word
    ASSERT_GT(display.port(), 6000);
    ChildProcess child({MIVO_PROGRAM, "bob", kPassword, "127.0.0.1"},
                       {"/dev/null",
                        "/dev/null",
                        {{"QT_QPA_PLATFORM", "xcb"},
                         {"DISPLAY", "127.0.0.1:" + std::to_string(display.port() - 6000)},
                         {"HOME", base},
                         {"XDG_CONFIG_HOME", base + "/config"}},
                        false});
    // Qt is held in its start once it has reached the display.
    const FileDescriptor connection = display.accept(std::chrono::seconds(20));
    ASSERT_GE(connection.get(), 0);
    const std::string commandLine = commandLineOf(child.pid());
    EXPECT_NE(commandLine.find("bob"), std::string::npos) << commandLine;
    EXPECT_EQ(commandLine.find(kPassword), std::string::npos) << commandLine;
}
#endif

}  // namespace
}  // namespace mivo::test
