#pragma once
// The tip on every "Pop Server" field: the host forms it takes, since a
// secured or IPv6 account is written in the one text.

#include <QString>

namespace mivo {

inline QString popHostHint() {
    return QStringLiteral(
        "host or host:port (port 110 by default)\n"
        "host:995 or pop3s://host[:port]  TLS from the start\n"
        "stls://host[:port]  TLS after STLS\n"
        "[2001:db8::1]:port  an IPv6 address\n"
        "...#sha256=FINGERPRINT  trust this certificate alone");
}

}  // namespace mivo
