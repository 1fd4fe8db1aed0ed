// mivo-check and a server that refuses the password: the cycles after the
// first leave the account alone instead of sending the refused password
// again, which providers answer by locking the account.

#include <gtest/gtest.h>

#include <string>

#include "MivoCheckRun.h"
#include "ScriptedServer.h"

namespace mivo::test {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

std::string lastCaption(const std::string& errors) {
    const std::string mark = "caption: ";
    const std::size_t at = errors.rfind(mark);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t end = errors.find('\n', at);
    return errors.substr(at + mark.size(), end - at - mark.size());
}

TEST(MivoCheckRefusedLogin, LaterCyclesDoNotSendARefusedPasswordAgain) {
    ScriptedServer server;
    server.send("+OK ready\r\n")
        .expectLine("USER bob")
        .send("+OK\r\n")
        .expectLine("PASS wrong")
        .send("-ERR [AUTH] Authentication failed.\r\n")
        .expectLine("QUIT")
        .send("+OK Logging out\r\n")
        .expectLine("QUIT")
        .close();
    server.start();
    const CheckRun run = runMivoCheck({"--cycles", "3", "--account", "bob", "wrong",
                                       "127.0.0.1:" + std::to_string(server.port())});

    EXPECT_EQ(run.exit.exitCode, 2);  // no new mail, and the account failed
    EXPECT_EQ(server.connections(), 1u);
    EXPECT_EQ(occurrences(run.output,
                          "Account #1 not checked: the server refused its login. Edit the account "
                          "or press \"Check now!\" to try it again.\n"),
              2u)
        << run.output;
    // Every cycle ends saying why, not "No New Mail".
    EXPECT_EQ(occurrences(run.errors, "caption: No New Mail - Mivo\n"), 0u) << run.errors;
    EXPECT_EQ(lastCaption(run.errors), "-ERR [AUTH] Authentication failed.\\r\\n - Mivo");
    EXPECT_TRUE(server.failures().empty());
}

}  // namespace
}  // namespace mivo::test
