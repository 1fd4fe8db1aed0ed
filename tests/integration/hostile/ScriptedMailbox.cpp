#include "ScriptedMailbox.h"

namespace mivo::test {

ScriptedServer& scriptLogin(ScriptedServer& server, const std::string& user,
                            const std::string& password) {
    return server.send("+OK ready\r\n")
        .expectLine("USER " + user)
        .send("+OK\r\n")
        .expectLine("PASS " + password)
        .send("+OK\r\n")
        .expectLine("STAT");
}

void scriptMailbox(ScriptedServer& server, const std::string& user, const std::string& password,
                   const std::vector<std::string>& headers, std::size_t seen) {
    scriptLogin(server, user, password).send("+OK " + std::to_string(headers.size()) + " 100\r\n");
    for (std::size_t n = seen + 1; n <= headers.size(); ++n) {
        server.expectLine("TOP " + std::to_string(n) + " 0")
            .send("+OK\r\n" + headers[n - 1] + "\r\n\r\n.\r\n");
    }
    server.expectLine("QUIT").send("+OK bye\r\n").close();
}

}  // namespace mivo::test
