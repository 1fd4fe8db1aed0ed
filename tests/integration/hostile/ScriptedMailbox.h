#pragma once
// A POP3 mailbox as one connection's script of a ScriptedServer: the login,
// STAT, UIDL, a TOP for each message the program has not seen yet, and QUIT.

#include <cstddef>
#include <string>
#include <vector>

#include "ScriptedServer.h"

namespace mivo::test {

// The greeting, USER, PASS and a STAT of `count` messages.
ScriptedServer& scriptLogin(ScriptedServer& server, const std::string& user,
                            const std::string& password, std::size_t count);

// `headers` holds each message's header lines (joined by CR LF) in server
// order; the server lists no ids, and the program is expected to ask for
// the messages after the first `seen`.
void scriptMailbox(ScriptedServer& server, const std::string& user, const std::string& password,
                   const std::vector<std::string>& headers, std::size_t seen = 0);

// The same on a server that lists message n's id as ids[n - 1]; the program
// is expected to ask for the messages numbered in `asked`, in that order.
void scriptListedMailbox(ScriptedServer& server, const std::string& user,
                         const std::string& password, const std::vector<std::string>& headers,
                         const std::vector<std::string>& ids,
                         const std::vector<std::size_t>& asked);

}  // namespace mivo::test
