#pragma once
// Where a POP3 conversation stands: what the session has sent and what reply
// it waits for. Memo2 shows it as a stage line whose first character is the
// stage's code; the line is written when the stage is entered, never read.

namespace mivo {

enum class Stage {
    Connecting,          // 1: waiting for the greeting
    SentUser,            // 2
    SentPass,            // 3
    SentStat,            // 5
    SentUidl,            // 5: waiting for the status line of the id listing
    ReceivingIds,        // 5: the listing's lines up to "."
    LoggingOut,          // 6: QUIT sent, nothing new
    LoggingOutWithMail,  // 7: QUIT sent, new mail found
    Failed,              // 8: the server refused something; QUIT sent
    AskedCapabilities,   // CAPA sent before the first TOP; Memo2 keeps its line
    RequestedHeaders,    // A: TOP sent, waiting for its status line
    ReceivingHeaders,    // B: the header lines up to "."
    RequestedMessage,    // D: RETR sent, waiting for its status line
    ReceivingMessage,    // E: the message lines up to "."
    Deleting,            // F: DELE sent
    Over,                // 0: the conversation is over; nothing more is read
};

}  // namespace mivo
