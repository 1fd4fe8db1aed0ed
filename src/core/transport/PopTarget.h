#pragma once
// What an account's POP host text asks for: the server, its port, and whether
// and how the conversation is protected by TLS.

#include <string>
#include <string_view>

namespace mivo {

inline constexpr int DefaultPop3sPort = 995;

enum class PopSecurity {
    Plain,     // POP3 in clear, as the program has always spoken it
    Tls,       // TLS from the first byte (pop3s:// or port 995)
    StartTls,  // plain greeting, then STLS and TLS before anything else is sent
};

struct PopTarget {
    std::string host;  // a name, dotted IPv4 text, or IPv6 text without brackets
    int port = 110;
    PopSecurity security = PopSecurity::Plain;
    // The server certificate's SHA-256 fingerprint as 64 lower-case hex
    // digits; when set it stands in for the chain and host-name checks.
    std::string pinnedSha256;
};

struct ParsedPopTarget {
    PopTarget target;
    std::string error;  // why the text is refused; empty when it is not
    bool ok() const { return error.empty(); }
};

// Reads `host`, `host:port`, `[v6addr]`, `[v6addr]:port`, each optionally
// after `pop3s://` or `stls://`, and optionally followed by `#sha256=HEX`.
// A text without scheme, brackets or pin is split exactly as it always was
// (splitPopHost); only its port 995 now means TLS.
ParsedPopTarget parsePopTarget(std::string_view text);

}  // namespace mivo
