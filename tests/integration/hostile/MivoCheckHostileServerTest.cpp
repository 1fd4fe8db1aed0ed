// mivo-check against servers that try to misuse it: escape sequences meant
// for the user's terminal, and a server that will not stop talking after
// QUIT. Each run is bounded by a deadline, which only keeps a hung run from
// stalling the suite.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "MivoCheckRun.h"
#include "ScriptedMailbox.h"
#include "ScriptedServer.h"
#include "TemporaryDirectory.h"

namespace mivo::test {
namespace {

CheckRun runAgainst(const ScriptedServer& server) {
    return runMivoCheck({"--interval", "1", "--account", "bob", "pw",
                         "127.0.0.1:" + std::to_string(server.port())});
}

bool hasControlCharacter(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7f) {
            return true;
        }
    }
    return false;
}

TEST(MivoCheckHostileServer, EscapeSequencesNeverReachTheTerminal) {
    ScriptedServer server;
    server.send("+OK \x1b]0;owned\x07 ready\r\n")
        .expectLine("USER bob")
        .send("-ERR \x1b[2J\x1b[31mgone\r\n")
        .expectLine("QUIT")
        .send("+OK \\ bye\x08\r\n")
        .expectLine("QUIT")
        .close();
    server.start();
    const CheckRun run = runAgainst(server);
    EXPECT_EQ(run.exit.exitCode, 2);  // no new mail, and the account failed
    EXPECT_FALSE(hasControlCharacter(run.output));
    EXPECT_FALSE(hasControlCharacter(run.errors));
    // The refusal and the answer to QUIT, escaped and still readable.
    const std::string caption =
        "Account #1 ERROR = -ERR \\x1b[2J\\x1b[31mgone\\r\\n+OK \\\\ bye\\x08\\r\\n";
    // In the Log its CR LF are line ends; on the console, new lines.
    EXPECT_NE(run.output.find("Account #1 ERROR = -ERR \\x1b[2J\\x1b[31mgone\n+OK \\\\ bye\\x08\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.errors.find("caption: -ERR \\x1b[2J\\x1b[31mgone\\r\\n - Mivo\n"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("caption: " + caption + "\n"), std::string::npos) << run.errors;
    EXPECT_TRUE(server.failures().empty());
}

// After QUIT is answered the server goes on writing and never hangs up: the
// program neither logs any of it nor waits for the server, and ends.
TEST(MivoCheckHostileServer, AServerTalkingAfterQuitIsNeitherLoggedNorWaitedFor) {
    std::string chatter;
    for (int line = 0; line < 20000; ++line) {
        chatter += "+OK still talking\r\n";
    }
    ScriptedServer server;
    server.send("+OK ready\r\n")
        .expectLine("USER bob")
        .send("+OK\r\n")
        .expectLine("PASS pw")
        .send("+OK\r\n")
        .expectLine("STAT")
        .send("+OK 0 0\r\n")
        .expectLine("QUIT")
        .send("+OK bye\r\n" + chatter)
        .expectClose();
    server.start();
    const CheckRun run = runAgainst(server);
    EXPECT_EQ(run.exit.exitCode, 1);
    EXPECT_EQ(run.output.find("still talking"), std::string::npos);
    EXPECT_EQ(run.output.find("Packet for state 0"), std::string::npos);
    EXPECT_LT(run.output.size(), 4096u);
    // The program hung up: the server's side of the conversation ends too.
    const auto deadline = std::chrono::steady_clock::now() + ScriptedServer::StepTimeout;
    while (server.finishedConnections() < 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(server.finishedConnections(), 1u);
    EXPECT_TRUE(server.failures().empty());
}

// Listings of message ids no server should send: the program checks such a
// mailbox by count, as one that lists no ids, and keeps no id of it. One
// that goes on and on costs the program nothing past its first wrong line.
TEST(MivoCheckHostileServer, AListingOfIdsThatCannotBeTrustedIsCheckedByCount) {
    struct Case {
        const char* what;
        std::string listing;  // what follows UIDL's "+OK"
        std::size_t repeated;
        bool hangsUp;  // without the listing's "." line
    };
    const Case cases[] = {
        {"duplicate ids", "1 same\r\n2 same\r\n", 1, false},
        {"ids with odd bytes", "1 caf\xe9\r\n2 \x1b[2J\x1b[31m\r\n", 1, false},
        {"a listing that never ends", "1 " + std::string(70, 'x') + "\r\n", 200000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer server;
        scriptLogin(server, "bob", "pw", 2).expectLine("UIDL").send("+OK\r\n");
        server.sendRepeated(c.listing, c.repeated);
        if (c.hangsUp) {
            server.close();
        } else {
            server.send(".\r\n")
                .expectLine("TOP 1 0")
                .send("+OK\r\nSubject: one\r\n\r\n.\r\n")
                .expectLine("TOP 2 0")
                .send("+OK\r\nSubject: two\r\n\r\n.\r\n")
                .expectLine("QUIT")
                .send("+OK bye\r\n")
                .close();
        }
        server.start();
        TemporaryDirectory directory;
        const std::string host = "127.0.0.1:" + std::to_string(server.port());
        const CheckRun run = runMivoCheck(
            {"--interval", "1", "--state", directory / "state", "--account", "bob", "pw", host});
        EXPECT_FALSE(run.exit.timedOut);
        EXPECT_FALSE(hasControlCharacter(run.output));
        EXPECT_TRUE(server.failures().empty()) << ::testing::PrintToString(server.failures());
        // Nothing summarised is nothing seen.
        const std::string seen = c.hangsUp ? "0" : "2";
        EXPECT_EQ(readWholeFile(directory / "state"),
                  "mivo-check state 2\nbob\t" + host + "\t" + seen + "\n");
        if (!c.hangsUp) {
            EXPECT_NE(run.output.find("5 - UIDL list not usable, counting messages.\n"),
                      std::string::npos)
                << run.output;
            EXPECT_NE(run.output.find("No From\ttwo\n"), std::string::npos) << run.output;
        }
    }
}

}  // namespace
}  // namespace mivo::test
