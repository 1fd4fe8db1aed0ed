#pragma once
// A POP3 mailbox as one connection's script of a ScriptedServer: the login,
// STAT, a TOP for each message the program has not seen yet, and QUIT.

#include <cstddef>
#include <string>
#include <vector>

#include "ScriptedServer.h"

namespace mivo::test {

// The greeting and the accepted login, up to the STAT command.
ScriptedServer& scriptLogin(ScriptedServer& server, const std::string& user,
                            const std::string& password);

// `headers` holds each message's header lines (joined by CR LF) in server
// order; the program is expected to ask for those after the first `seen`.
void scriptMailbox(ScriptedServer& server, const std::string& user, const std::string& password,
                   const std::vector<std::string>& headers, std::size_t seen = 0);

}  // namespace mivo::test
