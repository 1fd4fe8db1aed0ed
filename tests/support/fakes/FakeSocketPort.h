#pragma once
// A scriptable socket layer for unit tests: a test plays the server (connect
// outcome, byte chunks, close, reset) and reads back every byte sent.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/SocketErrorCodes.h"
#include "ports/SocketPort.h"

namespace mivo::test {

class FakeSocketPort : public SocketPort {
public:
    struct Socket {
        SocketHandle handle = InvalidSocket;
        int slot = -1;  // from the last selectNotifications
        int selected = 0;
        bool nonBlocking = false;
        bool closed = false;
        Ipv4Address address = 0;
        bool ipv6 = false;   // made by createStreamSocket6
        IpAddress address6;  // what connect6 was given
        int port = 0;
        std::optional<TlsSettings> tls;      // what startTls was given
        std::string sent;                    // every byte the client sent, in order
        std::deque<std::string> incoming;    // chunks not yet received; one receive never
                                             // spans two chunks
        bool peerClosed = false;             // receive gives 0 once `incoming` is empty
        std::vector<int> receiveCapacities;  // the capacity asked for by each receive
        // How many more bytes send accepts before it would block; -1 is no limit.
        long sendRoom = -1;
    };
    struct Lookup {
        int slot = -1;
        LookupId id = 0;
        std::string host;
    };

    // What the next calls report; the defaults make everything succeed.
    int createError = 0;            // non-zero: createStreamSocket fails with it
    int connectError = 10036;       // 0: connected at once; else connect fails with it
    bool lookupStartFails = false;  // startHostLookup fails (error 11001)
    bool tlsStartFails = false;     // startTls fails

    std::map<SocketHandle, Socket> sockets;
    std::vector<Lookup> lookups;
    std::vector<std::function<void()>> posted;

    // -- the port --
    void setNotificationSink(SocketNotificationSink* sink) override { m_sink = sink; }
    SocketResult<SocketHandle> createStreamSocket() override;
    SocketResult<SocketHandle> createStreamSocket6() override;
    SocketStatus setNonBlocking(SocketHandle socket) override;
    SocketStatus connect(SocketHandle socket, Ipv4Address address, int port) override;
    SocketStatus connect6(SocketHandle socket, const IpAddress& address, int port) override;
    SocketStatus startTls(SocketHandle socket, const TlsSettings& settings) override;
    void selectNotifications(SocketHandle socket, int slot, int events) override;
    SocketResult<int> send(SocketHandle socket, const char* data, int length) override;
    SocketResult<int> receive(SocketHandle socket, char* buffer, int capacity) override;
    SocketStatus close(SocketHandle socket) override;
    SocketStatus startHostLookup(int slot, LookupId lookup, const std::string& host) override;
    void post(std::function<void()> task) override { posted.push_back(std::move(task)); }

    // -- the test's side --
    // The socket created last, or the newest one a slot selected events for.
    SocketHandle lastSocket() const { return m_lastCreated; }
    SocketHandle socketOfSlot(int slot) const;
    Socket& socket(SocketHandle handle) { return sockets.at(handle); }
    // Every byte sent on the newest socket of `slot`.
    const std::string& sentOnSlot(int slot) { return socket(socketOfSlot(slot)).sent; }

    void connectSucceeds(SocketHandle socket) { notify(socket, FdConnect, 0); }
    void connectFails(SocketHandle socket, int error) { notify(socket, FdConnect, error); }
    // Each chunk is received on its own; FD_READ is delivered until the
    // client has taken everything (or stops taking).
    void serverSends(SocketHandle socket, const std::vector<std::string>& chunks);
    void serverSends(SocketHandle socket, std::string_view bytes) { sendChunk(socket, bytes); }
    // `bytes` cut into chunks of `pieceSize` (the last one may be shorter).
    void serverSendsInPieces(SocketHandle socket, std::string_view bytes, std::size_t pieceSize);
    // An orderly end of the stream: the next receive returns 0.
    void serverCloses(SocketHandle socket);
    // The server resets the connection: FD_CLOSE carrying 10054.
    void serverResets(SocketHandle socket) {
        notify(socket, FdClose, socket_error::ConnectionReset);
    }
    // The socket can take `room` more bytes: FD_WRITE if the client asked.
    void becomesWritable(SocketHandle socket, long room = -1);
    void completeLookup(std::size_t index, std::optional<Ipv4Address> address, int error = 0);
    void completeLookup(std::size_t index, std::vector<IpAddress> addresses);
    // The TLS handshake of `socket` ended: FdConnect carrying `tlsText`, and
    // `error` when it failed.
    void tlsDone(SocketHandle socket, std::string tlsText, int error = 0,
                 std::string peerFingerprint = {});
    void notify(SocketHandle socket, int event, int error);
    void deliver(const SocketNotification& notification);
    void runPosted();

private:
    void sendChunk(SocketHandle socket, std::string_view chunk);

    SocketNotificationSink* m_sink = nullptr;
    SocketHandle m_nextHandle = 1;
    SocketHandle m_lastCreated = InvalidSocket;
};

}  // namespace mivo::test
