#pragma once
// The opening of a conversation that turns to TLS with STLS: the greeting is
// held back while STLS is asked for and the handshake runs, then handed on
// with the connection, so the session sees the same events as on a
// connection that spoke TLS from its first byte. Nothing is sent in clear
// but STLS.
//
// Use: expect() before the connection opens; feed it every Connected event and
// line; what it does not take goes to the session as usual.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ports/SocketPort.h"

namespace mivo {

class StartTlsOpening {
public:
    struct Calls {
        std::function<void(std::string_view bytes)> send;
        // TcpStartTls: false when the handshake cannot start.
        std::function<bool(const TlsSettings& settings)> startTls;
        // Ends the connection with the reason, as a failed TLS check does.
        std::function<void(const std::string& reason)> fail;
    };

    explicit StartTlsOpening(Calls calls);

    // The next connection opens with STLS (or, after forget(), without).
    void expect(TlsSettings settings);
    void forget();

    // True when this Connected event is the plain connection's: the session
    // waits for the one after the handshake.
    bool takeConnected();
    // True when the line belongs to the opening.
    bool takeLine(std::string_view line);
    // Once the handshake is done: the greeting, handed over once.
    std::optional<std::string> takeGreeting();

private:
    enum class Step { Off, AwaitingConnection, AwaitingGreeting, AwaitingReply, Handshaking, Done };

    Calls m_calls;
    Step m_step = Step::Off;
    TlsSettings m_settings;
    std::optional<std::string> m_greeting;
};

}  // namespace mivo
