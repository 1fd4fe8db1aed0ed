#pragma once
// Asynchronous line-oriented TCP client connections in numbered slots. Every
// outcome (connected, each received line, closed or failed) reaches the
// slot's handler as an event, on the program's one thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/SocketPort.h"
#include "transport/LineCutter.h"

namespace mivo {

// What happens on a slot: Connected when the connection is made (and again
// when a TcpStartTls handshake is over), a Line for each line received (or
// Bytes while the handler asks for them), and Closed at the end, with the
// reason when it failed.
enum class TcpEvent { Connected, Line, Closed, Bytes };

// The data of a Line, Bytes or Closed event is valid only while the handler
// runs; Connected carries none. The result of a Bytes event is how many of
// its bytes the handler took; the result of any other event is ignored.
using TcpEventHandler = std::function<std::size_t(TcpEvent event, std::string_view data)>;

// How TLS went on a slot, for its user to report.
struct TcpSecurity {
    bool failed = false;
    // The protocol and cipher agreed, or the reason TLS failed.
    std::string text;
    // The server certificate's SHA-256 fingerprint, colon-separated hex.
    std::string peerFingerprint;
};

class TcpTransport : public SocketNotificationSink {
public:
    static constexpr int SlotCount = 100;  // slots a notification may name
    static constexpr int OpenSlots = 20;   // slots ever handed out
    static constexpr std::size_t PrintfLimit = 999;
    static constexpr std::size_t ErrorMessageLimit = 1999;
    static constexpr std::size_t PassReceiveSize = 64 * 1024;

    explicit TcpTransport(SocketPort& sockets);
    ~TcpTransport() override;
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;

    // Starts taking notifications. Until it has run, connecting fails with
    // 10093 as it did before the socket library was started. Returns 1.
    int TcpInit();
    // The lowest free slot of 0..19, bound to `handler`; -1 when all are in use.
    int TcpOpenSlot(TcpEventHandler handler);
    // 1 when the attempt is under way and its outcome will arrive as an event;
    // 0 when it failed at once (no event follows; the caller closes the slot).
    // A name is looked up and its addresses tried in the resolver's order
    // until one connects; a text with a colon is an IPv6 address. With `tls`
    // Connected comes only after the handshake and certificate check; a
    // failure of either arrives as Closed with its reason as the text.
    int TcpConnect(int slot, const std::string& host, int port,
                   const std::optional<TlsSettings>& tls = std::nullopt);
    // Turns a connected slot's conversation into TLS. Lines still held are
    // not delivered. 1 when the handshake is under way: the next Connected
    // says it is done, or Closed why it failed. 0 when it cannot start (the
    // server sent more than the reply the caller has just read); TcpSecurityOf
    // then tells why, and no event follows.
    int TcpStartTls(int slot, const TlsSettings& settings);
    const TcpSecurity& TcpSecurityOf(int slot) const;
    // Returns `length` once the bytes are taken for sending (what the socket
    // does not accept at once goes out, in order, when it becomes writable),
    // or -1 (10038 when the slot has no socket).
    int TcpSend(int slot, const char* data, int length);
    // Formats at most 999 characters and sends them up to the first NUL.
    int TcpPrintf(int slot, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // While on, what the slot receives reaches its handler as Bytes
    // events, exactly as it came, past the line cutting and in receives of
    // up to PassReceiveSize bytes; bytes still held from earlier receives
    // come first. For content such as a whole message, whose lines may be of
    // any length and hold any byte. The handler turns it off from inside a
    // Bytes event and returns how many bytes it took: the rest is cut
    // into lines as usual.
    void TcpPassBytes(int slot, bool pass);
    // Closes the socket and frees the slot, in any state; no event follows.
    void TcpClose(int slot);
    // The text for the last error code.
    std::string TcpErrorText() const;
    int lastError() const { return m_lastError; }

    // Bytes received on `slot` and not yet delivered as a line.
    std::size_t receiveLength(int slot) const;
    // Bytes received on `slot` since it was handed out, however they were
    // delivered: how fast a server sends.
    std::uint64_t receivedCount(int slot) const;

    // Every notification from the platform enters here. One that arrives
    // while another is being handled waits and follows it, in order.
    void notify(const SocketNotification& notification) override;

private:
    struct Slot {
        bool inUse = false;
        SocketHandle socket = InvalidSocket;
        int port = 0;
        // Shared so that a handler that closes or reopens its own slot is not
        // destroyed while it runs.
        std::shared_ptr<TcpEventHandler> handler;
        bool lookupPending = false;
        LookupId lookup = 0;
        // A looked-up name's addresses still to try, from `nextAddress` on.
        std::vector<IpAddress> addresses;
        std::size_t nextAddress = 0;
        std::optional<TlsSettings> tls;  // TLS asked for at connect time
        bool upgrading = false;          // TcpStartTls's handshake under way
        TcpSecurity security;
        LineCutter received;
        bool passBytes = false;  // TcpPassBytes
        // Bytes taken by TcpSend that the socket has not accepted yet; the
        // first `unsentFrom` of them are already gone.
        std::string unsent;
        std::size_t unsentFrom = 0;
        std::uint64_t receivedCount = 0;
        bool buffersAllocated = false;
    };

    static constexpr int SelectedEvents = FdRead | FdOob | FdConnect | FdClose;

    bool isSlot(int slot) const { return slot >= 0 && slot < SlotCount; }
    void TcpDispatch(const SocketNotification& notification);
    void TcpLookupDone(int slot, const SocketNotification& notification);
    int connectAddress(int slot, const IpAddress& address);
    void connectNextAddress(int slot);
    void connectDone(int slot, const SocketNotification& notification);
    void TcpReceive(int slot);
    void deliverReceived(int slot, SocketHandle socket, std::string_view uncut);
    void TcpPeerClosed(int slot);
    void TcpFlush(int slot);
    void closeSocket(Slot& slot);
    void selectFor(int slot);
    std::size_t raise(int slot, TcpEvent event, std::string_view data = {});
    void raiseSelectFailed(int slot);
    void drainQueuedNotifications();

    SocketPort& m_sockets;
    std::array<Slot, SlotCount> m_slots;
    int m_lastError = 0;
    bool m_initialised = false;
    bool m_dispatchBusy = false;
    std::deque<SocketNotification> m_queued;
    LookupId m_nextLookup = 0;
    std::unique_ptr<char[]> m_receiveScratch;
    std::string m_heldScratch;  // bytes the line cutter held when passing began
    std::string m_printfText;
    // Tasks posted to the event loop hold this weakly, so they do nothing
    // once the transport is gone.
    std::shared_ptr<TcpTransport*> m_alive;
};

}  // namespace mivo
