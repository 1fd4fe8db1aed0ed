#pragma once
// The operating system's TCP sockets and host lookup as the transport sees
// them, in the terms of Windows sockets (their error codes and events).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ports/SocketResult.h"

namespace mivo {

// Opaque socket handle. The platform never hands out the same value twice in
// one run, so a late notification for a closed socket cannot match a new one.
using SocketHandle = std::uint64_t;
inline constexpr SocketHandle InvalidSocket = ~SocketHandle{0};

// Tells one host lookup's completion from any other started for the same slot.
using LookupId = std::uint64_t;

// Notification event bits, as selected and as delivered (one bit at a time).
enum SocketEvent : int {
    FdRead = 1,
    FdWrite = 2,
    FdOob = 4,
    FdAccept = 8,
    FdConnect = 16,
    FdClose = 32,
};

// IPv4 addresses travel as numbers whose high byte is the first octet.
using Ipv4Address = std::uint32_t;

// An address as the resolver gives it: IPv4, or IPv6 in network byte order.
struct IpAddress {
    bool isIpv6 = false;
    Ipv4Address ipv4 = 0;
    std::array<std::uint8_t, 16> ipv6{};
    bool operator==(const IpAddress&) const = default;
};

// What a TLS connection is checked against.
struct TlsSettings {
    // Sent as the server name (unless it is an address) and matched against
    // the certificate.
    std::string serverName;
    // 64 lower-case hex digits of the certificate's SHA-256 fingerprint; when
    // set, this match replaces the chain and name checks.
    std::string pinnedSha256;
    // The clear conversation before TLS ended in a CR whose LF may still be
    // on its way: an LF as the first byte received completes that line end
    // and is not TLS's.
    bool lineFeedMayLead = false;
};

// One notification for a slot: a socket event, or a host lookup's completion.
struct SocketNotification {
    int slot = -1;
    bool isLookup = false;
    SocketHandle socket = InvalidSocket;  // socket events: the socket concerned
    int event = 0;                        // socket events: one SocketEvent bit
    int error = 0;                        // the Windows error code, 0 for none
    LookupId lookup = 0;                  // lookups: the id given when it started
    std::vector<IpAddress> addresses;     // lookups: the host's addresses, best first
    // A TLS socket's FdConnect: the protocol and cipher agreed, or (with an
    // error) why the handshake or the certificate check failed.
    std::string tlsText;
    // A TLS socket's FdConnect: the SHA-256 fingerprint of the certificate
    // the server showed, as colon-separated upper-case hex; empty if none.
    std::string peerFingerprint;
};

// Implemented by the transport; the platform calls it on the program's thread.
class SocketNotificationSink {
public:
    virtual ~SocketNotificationSink() = default;
    virtual void notify(const SocketNotification& notification) = 0;
};

class SocketPort {
public:
    virtual ~SocketPort() = default;

    // Where notifications go from now on; nullptr stops them.
    virtual void setNotificationSink(SocketNotificationSink* sink) = 0;

    // Every call below reports its failure as a Windows socket error code.
    // The value is InvalidSocket on failure.
    virtual SocketResult<SocketHandle> createStreamSocket() = 0;
    virtual SocketResult<SocketHandle> createStreamSocket6() = 0;  // the same for IPv6
    virtual SocketStatus setNonBlocking(SocketHandle socket) = 0;
    // Succeeds when connected at once; 10035 and 10036 mean "under way".
    virtual SocketStatus connect(SocketHandle socket, Ipv4Address address, int port) = 0;
    virtual SocketStatus connect6(SocketHandle socket, const IpAddress& address, int port) = 0;
    // From now on the socket talks TLS: the handshake starts once the socket
    // is connected (at once if it already is), and the socket's FdConnect is
    // delivered only when it is over, carrying tlsText. Sending and receiving
    // then carry plain text. Fails (no notification follows) if TLS cannot
    // be set up for the socket.
    virtual SocketStatus startTls(SocketHandle socket, const TlsSettings& settings) = 0;
    // Like WSAAsyncSelect: `events` replaces the set asked for earlier.
    virtual void selectNotifications(SocketHandle socket, int slot, int events) = 0;
    // The bytes accepted; 10035 when the socket takes none now.
    virtual SocketResult<int> send(SocketHandle socket, const char* data, int length) = 0;
    // The bytes received, 0 at the end of the stream; 10035 when none wait.
    virtual SocketResult<int> receive(SocketHandle socket, char* buffer, int capacity) = 0;
    // No notification for the socket is delivered after this.
    virtual SocketStatus close(SocketHandle socket) = 0;

    // Starts resolving `host` (a name, or IPv6 text) to its addresses; the
    // completion arrives as a lookup notification for `slot` carrying
    // `lookup`. Fails if not started.
    virtual SocketStatus startHostLookup(int slot, LookupId lookup, const std::string& host) = 0;

    // Runs `task` later from the event loop, on the program's thread.
    virtual void post(std::function<void()> task) = 0;
};

}  // namespace mivo
