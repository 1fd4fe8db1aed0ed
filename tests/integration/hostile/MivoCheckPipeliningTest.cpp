// mivo-check against a server that offers PIPELINING: the TOPs arrive
// before any of their answers is sent (a client one command at a time
// would wait here for ever), and a refusal or a hang-up among the answers
// keeps the summaries before it, as it does one command at a time.

#include <gtest/gtest.h>

#include <string>

#include "MivoCheckRun.h"
#include "ScriptedMailbox.h"
#include "ScriptedServer.h"

namespace mivo::test {
namespace {

constexpr int kMessages = 6;

std::string answerFor(int message) {
    const std::string n = std::to_string(message);
    return "+OK\r\nFrom: a" + n + "\r\nSubject: s" + n + "\r\n\r\n.\r\n";
}

TEST(MivoCheckPipelining, AnswersBrokenOffInTheWindowKeepTheSummariesBefore) {
    enum class Break { None, Refusal, HangUp };
    struct Case {
        const char* name;
        Break breaks;   // what happens to the third answer
        int announced;  // messages listed, from the first
    };
    const Case cases[] = {
        {"all answered", Break::None, kMessages},
        {"the third refused", Break::Refusal, 2},
        {"a hang-up in the third", Break::HangUp, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server;
        scriptLogin(server, "bob", "pw", kMessages)
            .expectLine("UIDL")
            .send("-ERR unknown command\r\n")
            .expectLine("CAPA")
            .send("+OK\r\nTOP\r\nPIPELINING\r\n.\r\n");
        for (int message = 1; message <= kMessages; ++message) {
            server.expectLine("TOP " + std::to_string(message) + " 0");
        }
        server.send(answerFor(1) + answerFor(2));
        switch (c.breaks) {
            case Break::None:
                for (int message = 3; message <= kMessages; ++message) {
                    server.send(answerFor(message));
                }
                server.expectLine("QUIT").send("+OK bye\r\n").close();
                break;
            case Break::Refusal:
                server.send("-ERR no such message\r\n");
                for (int message = 4; message <= kMessages; ++message) {
                    server.send(answerFor(message));
                }
                server.expectLine("QUIT").send("+OK bye\r\n").expectLine("QUIT").close();
                break;
            case Break::HangUp:
                server.send("+OK\r\nFrom: a3\r\n").close();
                break;
        }
        server.start();
        const CheckRun run =
            runMivoCheck({"--interval", "1", "--account", "bob", "pw", server.hostAndPort()});
        EXPECT_EQ(run.exit.exitCode, 0) << run.errors;
        for (int message = 1; message <= kMessages; ++message) {
            // Appended, not "a" + ...: GCC 12 reports a false -Wrestrict there.
            const std::string number = std::to_string(message);
            const std::string line = std::string("a").append(number).append("\ts").append(number);
            EXPECT_EQ(run.output.find(line) != std::string::npos, message <= c.announced) << line;
        }
        EXPECT_TRUE(server.failures().empty());
    }
}

}  // namespace
}  // namespace mivo::test
