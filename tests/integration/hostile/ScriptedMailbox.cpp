#include "ScriptedMailbox.h"

namespace mivo::test {

namespace {

void scriptTops(ScriptedServer& server, const std::vector<std::string>& headers,
                const std::vector<std::size_t>& asked) {
    for (const std::size_t n : asked) {
        server.expectLine("TOP " + std::to_string(n) + " 0")
            .send("+OK\r\n" + headers[n - 1] + "\r\n\r\n.\r\n");
    }
    server.expectLine("QUIT").send("+OK bye\r\n").close();
}

}  // namespace

ScriptedServer& scriptLogin(ScriptedServer& server, const std::string& user,
                            const std::string& password, std::size_t count) {
    return server.send("+OK ready\r\n")
        .expectLine("USER " + user)
        .send("+OK\r\n")
        .expectLine("PASS " + password)
        .send("+OK\r\n")
        .expectLine("STAT")
        .send("+OK " + std::to_string(count) + " 100\r\n");
}

void scriptMailbox(ScriptedServer& server, const std::string& user, const std::string& password,
                   const std::vector<std::string>& headers, std::size_t seen) {
    scriptLogin(server, user, password, headers.size());
    if (!headers.empty()) {
        server.expectLine("UIDL").send("-ERR unknown command\r\n");
    }
    std::vector<std::size_t> asked;
    for (std::size_t n = seen + 1; n <= headers.size(); ++n) {
        asked.push_back(n);
    }
    scriptTops(server, headers, asked);
}

void scriptListedMailbox(ScriptedServer& server, const std::string& user,
                         const std::string& password, const std::vector<std::string>& headers,
                         const std::vector<std::string>& ids,
                         const std::vector<std::size_t>& asked) {
    scriptLogin(server, user, password, headers.size());
    if (!headers.empty()) {
        std::string listing = "+OK\r\n";
        for (std::size_t n = 1; n <= ids.size(); ++n) {
            listing += std::to_string(n) + " " + ids[n - 1] + "\r\n";
        }
        server.expectLine("UIDL").send(listing + ".\r\n");
    }
    scriptTops(server, headers, asked);
}

}  // namespace mivo::test
