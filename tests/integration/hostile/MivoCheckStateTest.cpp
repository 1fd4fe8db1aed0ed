// mivo-check with --state: the count of messages seen in each account carries
// from one run to the next, so each run announces only what arrived since,
// and a run stopped by a signal still keeps what it saw.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "MivoCheckRun.h"
#include "ScriptedMailbox.h"
#include "ScriptedServer.h"
#include "StoredSettingsText.h"
#include "TemporaryDirectory.h"

namespace mivo::test {
namespace {

namespace fs = std::filesystem;

std::string headersOf(int message) {
    const std::string n = std::to_string(message);
    return "From: Sender " + n + "\r\nSubject: Message " + n;
}

std::string announcement(int message) {
    const std::string n = std::to_string(message);
    return "Sender " + n + "\tMessage " + n + "\n";
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(MivoCheckState, EachRunAnnouncesOnlyMailThatArrivedSinceTheLastOne) {
    struct Run {
        const char* what;
        std::vector<int> onServer;  // the messages, in server order
        std::size_t seenBefore;     // what the program must skip
        int exitCode;
        std::vector<int> announced;
    };
    const Run runs[] = {
        {"first run: all of it is new", {1, 2}, 0, 0, {1, 2}},
        {"nothing arrived", {1, 2}, 2, 1, {}},
        {"one more arrived", {1, 2, 3}, 2, 0, {3}},
        // Fewer messages than seen: some were deleted elsewhere, so all of
        // what is left is new.
        {"two were deleted", {3}, 0, 0, {3}},
    };
    ScriptedServer server;
    for (const Run& run : runs) {
        std::vector<std::string> headers;
        for (const int message : run.onServer) {
            headers.push_back(headersOf(message));
        }
        scriptMailbox(&run == runs ? server : server.nextConnection(), "bob", "pw", headers,
                      run.seenBefore);
    }
    server.start();
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    TemporaryDirectory directory;
    const std::string state = directory / "state";

    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        const CheckRun check =
            runMivoCheck({"--state", state, "--account", "bob", "pw", host, "--interval", "1"});
        EXPECT_EQ(check.exit.exitCode, run.exitCode) << check.errors;
        EXPECT_TRUE(contains(check.errors, run.announced.empty() ? "caption: No New Mail - Mivo\n"
                                                                 : "caption: New Mail - Mivo\n"))
            << check.errors;
        for (int message = 1; message <= 3; ++message) {
            const bool expected = std::find(run.announced.begin(), run.announced.end(), message) !=
                                  run.announced.end();
            EXPECT_EQ(contains(check.output, announcement(message)), expected) << message;
        }
        EXPECT_EQ(readWholeFile(state), "mivo-check state 2\nbob\t" + host + "\t" +
                                            std::to_string(run.onServer.size()) + "\n");
    }
    EXPECT_EQ(server.connections(), std::size(runs));
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
}

// A server that lists ids: a state file of an earlier version, which kept a
// count, is read and written anew with the ids; from then on a message is
// new when its id was not seen, whatever was deleted elsewhere meanwhile.
TEST(MivoCheckState, MailListedByIdIsKnownByItsIdsFromRunToRun) {
    struct Run {
        const char* what;
        std::vector<int> onServer;  // the messages, in server order
        std::vector<std::size_t> asked;
        std::vector<int> announced;
        const char* ids;  // the ids kept afterwards
    };
    const Run runs[] = {
        {"the count kept before: its first two are the ones seen", {1, 2, 3}, {3}, {3}, "m1 m2 m3"},
        {"two deleted elsewhere, two arrived", {3, 4, 5}, {2, 3}, {4, 5}, "m3 m4 m5"},
        {"two deleted, one arrived", {5, 6}, {2}, {6}, "m5 m6"},
    };
    ScriptedServer server;
    for (const Run& run : runs) {
        std::vector<std::string> headers;
        std::vector<std::string> ids;
        for (const int message : run.onServer) {
            headers.push_back(headersOf(message));
            // Appended, not "m" + ...: GCC 12 reports a false -Wrestrict there.
            ids.push_back(std::string("m").append(std::to_string(message)));
        }
        scriptListedMailbox(&run == runs ? server : server.nextConnection(), "bob", "pw", headers,
                            ids, run.asked);
    }
    server.start();
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    TemporaryDirectory directory;
    const std::string state = directory / "state";
    writeWholeFile(state, "mivo-check state 1\nbob\t" + host + "\t2\n");

    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        const CheckRun check =
            runMivoCheck({"--state", state, "--account", "bob", "pw", host, "--interval", "1"});
        EXPECT_EQ(check.exit.exitCode, 0) << check.errors;
        for (int message = 1; message <= 6; ++message) {
            const bool expected = std::find(run.announced.begin(), run.announced.end(), message) !=
                                  run.announced.end();
            EXPECT_EQ(contains(check.output, announcement(message)), expected) << message;
        }
        EXPECT_EQ(readWholeFile(state), "mivo-check state 2\nbob\t" + host + "\t" +
                                            std::to_string(run.onServer.size()) + "\t" + run.ids +
                                            "\n");
    }
    EXPECT_EQ(server.connections(), std::size(runs));
    EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
}

// A run told to stop ends as the desktop program does at the end of its
// session: what it saw and the settings are saved, then it ends by the signal.
TEST(MivoCheckState, ARunStoppedBySignalSavesWhatItKeeps) {
    ScriptedServer server;
    scriptMailbox(server, "alice", "pw", {headersOf(1)});
    server.start();
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    TemporaryDirectory directory;
    const fs::path settings = directory.path() / "Settings";
    writeWholeFile(settings, settingsText({{"alice", "pw", host}}));

    // For ever, on the stored interval, with timed checks on for this run only.
    ChildProcess child({MIVO_CHECK_PROGRAM, "--config", directory.path(), "--state",
                        directory / "state", "--cycles", "0", "--interval", "60"});
    const auto deadline = ChildProcess::Clock::now() + std::chrono::seconds(30);
    ASSERT_TRUE(child.readUntil(
        [&child] { return contains(child.standardError(), "caption: New Mail - Mivo\n"); },
        deadline))
        << child.standardError();
    child.signalGroup(SIGTERM);
    const ChildExit exit = child.wait(deadline);
    EXPECT_FALSE(exit.timedOut);
    EXPECT_EQ(exit.signal, SIGTERM) << exit.describe();

    EXPECT_EQ(readWholeFile(directory / "state"), "mivo-check state 2\nalice\t" + host + "\t1\n");
    const std::string saved = readWholeFile(settings);
    for (const char* line : {"CCW1=YES\r\n", "S4=NO\r\n", "TimeInterval=1\r\n"}) {
        EXPECT_TRUE(contains(saved, line)) << line << saved;
    }
    EXPECT_EQ(server.connections(), 1u);
}

}  // namespace
}  // namespace mivo::test
