#include "pop3/StartTlsOpening.h"

#include <utility>

namespace mivo {

StartTlsOpening::StartTlsOpening(Calls calls) : m_calls(std::move(calls)) {}

void StartTlsOpening::expect(TlsSettings settings) {
    m_settings = std::move(settings);
    m_step = Step::AwaitingConnection;
    m_greeting.reset();
}

void StartTlsOpening::forget() {
    m_step = Step::Off;
    m_greeting.reset();
}

bool StartTlsOpening::takeConnected() {
    if (m_step == Step::AwaitingConnection) {
        m_step = Step::AwaitingGreeting;
        return true;
    }
    if (m_step == Step::Handshaking) {
        m_step = Step::Done;
    }
    return false;
}

bool StartTlsOpening::takeLine(std::string_view line) {
    switch (m_step) {
        case Step::AwaitingGreeting:
            // Whatever the greeting says, nothing but STLS goes out before
            // TLS; a server that cannot serve STLS says so to it.
            m_greeting = std::string(line);
            m_step = Step::AwaitingReply;
            m_calls.send("STLS\r\n");
            return true;
        case Step::AwaitingReply:
            if (line.substr(0, 3) != "+OK") {
                m_step = Step::Off;
                m_calls.fail("TLS: the server refused STLS for " + m_settings.serverName);
                return true;
            }
            m_step = Step::Handshaking;
            if (!m_calls.startTls(m_settings)) {
                m_step = Step::Off;
            }
            return true;
        case Step::Handshaking:
            return true;
        case Step::Off:
        case Step::AwaitingConnection:
        case Step::Done:
            break;
    }
    return false;
}

std::optional<std::string> StartTlsOpening::takeGreeting() {
    if (m_step != Step::Done) {
        return std::nullopt;
    }
    m_step = Step::Off;
    return std::exchange(m_greeting, std::nullopt);
}

}  // namespace mivo
