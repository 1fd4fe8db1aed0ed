#pragma once
// How one account's POP3 conversation ended, as the session reports it to
// the check cycle.

#include <functional>

namespace mivo {

struct SessionOutcome {
    enum class Result {
        Checked,         // the mailbox was read and QUIT acknowledged
        ServerError,     // the server refused a command
        ConnectionLost,  // the connection ended before the conversation did
    };
    Result result = Result::ConnectionLost;
};

// Called once per conversation, synchronously, when it is over.
using SessionEnded = std::function<void(int account, SessionOutcome outcome)>;

}  // namespace mivo
