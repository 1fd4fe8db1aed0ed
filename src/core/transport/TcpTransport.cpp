#include "transport/TcpTransport.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "ports/SocketErrorCodes.h"
#include "transport/Ipv4Text.h"
#include "transport/PopHost.h"
#include "transport/SocketErrorText.h"

namespace mivo {

TcpTransport::TcpTransport(SocketPort& sockets)
    : m_sockets(sockets),
      // Sized once and never cleared: a receive never allocates, and only
      // the bytes a receive wrote are ever read.
      m_receiveScratch(std::make_unique_for_overwrite<char[]>(PassReceiveSize)),
      m_alive(std::make_shared<TcpTransport*>(this)) {
    m_printfText.reserve(PrintfLimit + 1);
}

TcpTransport::~TcpTransport() {
    if (m_initialised) {
        m_sockets.setNotificationSink(nullptr);
    }
    for (Slot& slot : m_slots) {
        closeSocket(slot);
    }
}

int TcpTransport::TcpInit() {
    if (m_initialised) {
        return 1;
    }
    m_initialised = true;
    for (Slot& slot : m_slots) {
        slot.socket = InvalidSocket;
    }
    m_sockets.setNotificationSink(this);
    return 1;
}

int TcpTransport::TcpOpenSlot(TcpEventHandler handler) {
    for (int number = 0; number < OpenSlots; ++number) {
        Slot& slot = m_slots[number];
        if (slot.inUse) {
            continue;
        }
        slot.inUse = true;
        slot.handler = std::make_shared<TcpEventHandler>(std::move(handler));
        slot.socket = InvalidSocket;
        slot.lookupPending = false;
        slot.received.clear();
        slot.passBytes = false;
        slot.unsent.clear();
        slot.unsentFrom = 0;
        slot.receivedCount = 0;
        if (!slot.buffersAllocated) {
            slot.received.reserve();
            slot.buffersAllocated = true;
        }
        return number;
    }
    return -1;
}

int TcpTransport::TcpConnect(int slotNumber, const std::string& host, int port,
                             const std::optional<TlsSettings>& tls) {
    if (!isSlot(slotNumber) || !m_slots[slotNumber].inUse) {
        m_lastError = socket_error::NotSocket;
        return 0;
    }
    if (!m_initialised) {
        m_lastError = socket_error::NotStarted;
        return 0;
    }
    Slot& slot = m_slots[slotNumber];
    // A second connect on the same slot replaces the first one entirely.
    closeSocket(slot);
    slot.lookupPending = false;
    slot.received.clear();
    slot.passBytes = false;
    slot.addresses.clear();
    slot.nextAddress = 0;
    slot.tls = tls;
    slot.upgrading = false;
    slot.security = TcpSecurity{};
    slot.port = port;

    // IPv6 text is never dotted IPv4; the resolver reads it without asking
    // any name server.
    if (host.find(':') != std::string::npos || !isNumericHost(host)) {
        slot.lookup = ++m_nextLookup;
        slot.lookupPending = true;
        const SocketStatus started = m_sockets.startHostLookup(slotNumber, slot.lookup, host);
        m_lastError = started.error;
        if (!started.ok()) {
            slot.lookupPending = false;
            return 0;
        }
        return 1;
    }
    return connectAddress(slotNumber, IpAddress{false, inetAddr(host), {}});
}

int TcpTransport::connectAddress(int slotNumber, const IpAddress& address) {
    Slot& slot = m_slots[slotNumber];
    closeSocket(slot);
    const SocketResult<SocketHandle> created =
        address.isIpv6 ? m_sockets.createStreamSocket6() : m_sockets.createStreamSocket();
    m_lastError = created.error;
    if (!created.ok()) {
        return 0;
    }
    slot.socket = created.value;
    m_lastError = m_sockets.setNonBlocking(slot.socket).error;
    const SocketStatus connected = address.isIpv6
                                       ? m_sockets.connect6(slot.socket, address, slot.port)
                                       : m_sockets.connect(slot.socket, address.ipv4, slot.port);
    m_lastError = connected.error;
    if (!connected.ok() && m_lastError != socket_error::WouldBlock &&
        m_lastError != socket_error::InProgress) {
        return 0;
    }
    if (slot.tls) {
        const SocketStatus secured = m_sockets.startTls(slot.socket, *slot.tls);
        if (!secured.ok()) {
            m_lastError = secured.error;
            return 0;
        }
    }
    selectFor(slotNumber);
    return 1;
}

// Tries the looked-up addresses in order until one is under way; when none
// is, the failure of the last is reported.
void TcpTransport::connectNextAddress(int slotNumber) {
    Slot& slot = m_slots[slotNumber];
    while (slot.nextAddress < slot.addresses.size()) {
        const IpAddress address = slot.addresses[slot.nextAddress++];
        if (connectAddress(slotNumber, address) == 1) {
            return;
        }
    }
    // The caller was promised an event when the lookup started.
    raiseSelectFailed(slotNumber);
}

int TcpTransport::TcpStartTls(int slotNumber, const TlsSettings& settings) {
    if (!isSlot(slotNumber) || m_slots[slotNumber].socket == InvalidSocket) {
        m_lastError = socket_error::NotSocket;
        return 0;
    }
    Slot& slot = m_slots[slotNumber];
    // From here no line is delivered until TLS is up; on failure the caller
    // closes the slot.
    slot.upgrading = true;
    if (slot.received.size() != 0) {
        // Whatever came after the reply was sent in clear by someone who
        // cannot know the reply yet: it would be taken as protected text.
        slot.security.failed = true;
        slot.security.text =
            "TLS: the server sent data ahead of the TLS handshake for " + settings.serverName;
        return 0;
    }
    TlsSettings handshake = settings;
    // A reply cut at its CR may have its LF still on the way; the handshake
    // must not take it for its own.
    handshake.lineFeedMayLead = slot.received.awaitsLineFeed();
    if (const SocketStatus started = m_sockets.startTls(slot.socket, handshake); !started.ok()) {
        m_lastError = started.error;
        slot.security.failed = true;
        slot.security.text = "TLS: could not be set up for " + settings.serverName;
        return 0;
    }
    return 1;
}

const TcpSecurity& TcpTransport::TcpSecurityOf(int slotNumber) const {
    static const TcpSecurity none;
    return isSlot(slotNumber) ? m_slots[slotNumber].security : none;
}

int TcpTransport::TcpSend(int slotNumber, const char* data, int length) {
    if (!isSlot(slotNumber) || m_slots[slotNumber].socket == InvalidSocket) {
        m_lastError = socket_error::NotSocket;
        return -1;
    }
    if (length < 0 || (data == nullptr && length > 0)) {
        m_lastError = socket_error::BadBuffer;
        return -1;
    }
    if (length == 0) {
        return 0;
    }
    Slot& slot = m_slots[slotNumber];
    if (slot.unsent.size() > slot.unsentFrom) {
        // Earlier bytes still wait; these go out after them.
        slot.unsent.append(data, static_cast<std::size_t>(length));
        return length;
    }
    const SocketResult<int> sent = m_sockets.send(slot.socket, data, length);
    m_lastError = sent.error;
    if (sent.ok() && sent.value >= length) {
        return length;
    }
    if (!sent.ok() && m_lastError != socket_error::WouldBlock) {
        return -1;
    }
    const int taken = sent.ok() ? std::max(sent.value, 0) : 0;
    slot.unsent.assign(data + taken, static_cast<std::size_t>(length - taken));
    slot.unsentFrom = 0;
    selectFor(slotNumber);
    return length;
}

int TcpTransport::TcpPrintf(int slot, const char* format, ...) {
    m_printfText.assign(PrintfLimit + 1, '\0');
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(m_printfText.data(), m_printfText.size(), format, arguments);
    va_end(arguments);
    if (written < 0) {
        m_printfText.clear();
    }
    // The text goes out up to its first NUL, at most 999 characters.
    m_printfText.resize(std::strlen(m_printfText.c_str()));
    return TcpSend(slot, m_printfText.data(), static_cast<int>(m_printfText.size()));
}

void TcpTransport::TcpPassBytes(int slotNumber, bool pass) {
    if (isSlot(slotNumber)) {
        m_slots[slotNumber].passBytes = pass;
    }
}

void TcpTransport::TcpClose(int slotNumber) {
    if (!isSlot(slotNumber)) {
        return;
    }
    Slot& slot = m_slots[slotNumber];
    closeSocket(slot);
    slot.inUse = false;
    slot.lookupPending = false;
    slot.received.clear();
    slot.passBytes = false;
    slot.addresses.clear();
    slot.tls.reset();
    slot.upgrading = false;
    slot.security = TcpSecurity{};
    // A handler closing its own slot keeps running: raise() holds a copy.
    slot.handler.reset();
}

std::string TcpTransport::TcpErrorText() const {
    return socketErrorText(m_lastError);
}

std::size_t TcpTransport::receiveLength(int slot) const {
    return isSlot(slot) ? m_slots[slot].received.size() : 0;
}

std::uint64_t TcpTransport::receivedCount(int slot) const {
    return isSlot(slot) ? m_slots[slot].receivedCount : 0;
}

void TcpTransport::notify(const SocketNotification& notification) {
    m_queued.push_back(notification);
    if (m_dispatchBusy) {
        // A handler ran a nested event loop; this one follows the current one.
        return;
    }
    drainQueuedNotifications();
}

void TcpTransport::drainQueuedNotifications() {
    m_dispatchBusy = true;
    try {
        while (!m_queued.empty()) {
            const SocketNotification next = std::move(m_queued.front());
            m_queued.pop_front();
            TcpDispatch(next);
        }
    } catch (...) {
        m_dispatchBusy = false;
        if (!m_queued.empty()) {
            // The exception is reported by the event loop; what waited behind
            // it is still delivered, from the loop, afterwards.
            std::weak_ptr<TcpTransport*> alive = m_alive;
            m_sockets.post([alive] {
                if (auto transport = alive.lock(); transport && !(*transport)->m_dispatchBusy) {
                    (*transport)->drainQueuedNotifications();
                }
            });
        }
        throw;
    }
    m_dispatchBusy = false;
}

void TcpTransport::TcpDispatch(const SocketNotification& notification) {
    const int slotNumber = notification.slot;
    if (!isSlot(slotNumber)) {
        return;
    }
    if (notification.isLookup) {
        TcpLookupDone(slotNumber, notification);
        return;
    }
    const Slot& slot = m_slots[slotNumber];
    if (slot.socket == InvalidSocket || slot.socket != notification.socket) {
        return;
    }
    if (notification.error != 0 && notification.event == FdConnect) {
        connectDone(slotNumber, notification);
        return;
    }
    if (notification.error != 0) {
        m_lastError = notification.error;
        raiseSelectFailed(slotNumber);
        return;
    }
    switch (notification.event) {
        case FdRead:
            TcpReceive(slotNumber);
            break;
        case FdConnect:
            connectDone(slotNumber, notification);
            break;
        case FdClose:
            raise(slotNumber, TcpEvent::Closed);
            break;
        case FdWrite:
            TcpFlush(slotNumber);
            break;
        default:
            break;
    }
}

void TcpTransport::TcpLookupDone(int slotNumber, const SocketNotification& notification) {
    Slot& slot = m_slots[slotNumber];
    // A lookup that outlived its slot's connection must not connect anything.
    if (!slot.inUse || !slot.lookupPending || slot.lookup != notification.lookup) {
        return;
    }
    slot.lookupPending = false;
    if (notification.error == 0 && !notification.addresses.empty()) {
        slot.addresses = notification.addresses;
        slot.nextAddress = 0;
        connectNextAddress(slotNumber);
        return;
    }
    raise(slotNumber, TcpEvent::Closed, "Host Lookup Failed");
}

void TcpTransport::connectDone(int slotNumber, const SocketNotification& notification) {
    Slot& slot = m_slots[slotNumber];
    const bool secured = slot.tls.has_value() || slot.upgrading;
    slot.upgrading = false;
    if (secured && !notification.tlsText.empty()) {
        slot.security.failed = notification.error != 0;
        slot.security.text = notification.tlsText;
        slot.security.peerFingerprint = notification.peerFingerprint;
    }
    if (notification.error == 0) {
        raise(slotNumber, TcpEvent::Connected);
        return;
    }
    m_lastError = notification.error;
    if (slot.security.failed) {
        // The server was reached: another of its addresses is not tried.
        closeSocket(slot);
        std::string text = slot.security.text;
        if (text.size() > ErrorMessageLimit) {
            text.resize(ErrorMessageLimit);
        }
        raise(slotNumber, TcpEvent::Closed, text);
        return;
    }
    if (slot.nextAddress < slot.addresses.size()) {
        connectNextAddress(slotNumber);
        return;
    }
    raiseSelectFailed(slotNumber);
}

void TcpTransport::TcpReceive(int slotNumber) {
    Slot& slot = m_slots[slotNumber];
    const SocketHandle socket = slot.socket;
    if (socket == InvalidSocket) {
        return;
    }
    const std::size_t room = slot.passBytes ? PassReceiveSize : slot.received.makeRoom();
    const SocketResult<int> count =
        m_sockets.receive(socket, m_receiveScratch.get(), static_cast<int>(room));
    m_lastError = count.error;
    if (!count.ok()) {
        return;
    }
    if (count.value <= 0) {
        TcpPeerClosed(slotNumber);
        return;
    }
    slot.receivedCount += static_cast<std::uint64_t>(count.value);
    std::string_view received(m_receiveScratch.get(),
                              std::min(static_cast<std::size_t>(count.value), room));
    if (!slot.passBytes) {
        slot.received.append(received);
        received = {};
    }
    deliverReceived(slotNumber, socket, received);
}

// Raises the lines the cutter holds, or passes bytes while the handler asks
// for them; `uncut` are received bytes not yet given to the cutter. Either
// way of delivery can hand over to the other from inside its event.
void TcpTransport::deliverReceived(int slotNumber, SocketHandle socket, std::string_view uncut) {
    Slot& slot = m_slots[slotNumber];
    // The handler may close or reopen the slot; then the rest is not its.
    // Nor, once it turns to TLS, are lines that came in clear behind it.
    while (slot.inUse && slot.socket == socket && !slot.upgrading) {
        if (slot.passBytes) {
            std::string_view bytes;
            const bool fromCutter = slot.received.size() != 0;
            if (fromCutter) {
                slot.received.takeHeld(m_heldScratch);
                bytes = m_heldScratch;
            } else {
                bytes = slot.received.withoutPendingLf(uncut);
                uncut = {};
            }
            if (bytes.empty()) {
                return;
            }
            const std::size_t taken = raise(slotNumber, TcpEvent::Bytes, bytes);
            if (!slot.inUse || slot.socket != socket || slot.passBytes) {
                continue;
            }
            bytes.remove_prefix(std::min(taken, bytes.size()));
            if (fromCutter) {
                // No more than the cutter held a moment ago: it fits again.
                slot.received.append(bytes);
            } else {
                uncut = bytes;
            }
            continue;
        }
        if (const auto line = slot.received.cutLine()) {
            raise(slotNumber, TcpEvent::Line, *line);
            continue;
        }
        if (uncut.empty()) {
            return;
        }
        // What came after passed bytes is cut as if received in turn.
        const std::size_t room = slot.received.makeRoom();
        slot.received.append(uncut.substr(0, room));
        uncut.remove_prefix(std::min(room, uncut.size()));
    }
}

void TcpTransport::TcpPeerClosed(int slotNumber) {
    closeSocket(m_slots[slotNumber]);
    raise(slotNumber, TcpEvent::Closed);
}

void TcpTransport::TcpFlush(int slotNumber) {
    Slot& slot = m_slots[slotNumber];
    while (slot.unsentFrom < slot.unsent.size()) {
        const std::size_t waiting = slot.unsent.size() - slot.unsentFrom;
        const int chunk = static_cast<int>(std::min<std::size_t>(waiting, INT_MAX));
        const SocketResult<int> sent =
            m_sockets.send(slot.socket, slot.unsent.data() + slot.unsentFrom, chunk);
        m_lastError = sent.error;
        if (sent.ok() && sent.value > 0) {
            slot.unsentFrom += static_cast<std::size_t>(sent.value);
            continue;
        }
        if (!sent.ok() && m_lastError != socket_error::WouldBlock) {
            // The connection is broken; its end is reported on the read side.
            slot.unsentFrom = slot.unsent.size();
        }
        break;
    }
    if (slot.unsentFrom >= slot.unsent.size()) {
        slot.unsent.clear();
        slot.unsentFrom = 0;
    } else if (slot.unsentFrom > slot.unsent.size() / 2) {
        slot.unsent.erase(0, slot.unsentFrom);
        slot.unsentFrom = 0;
    }
    selectFor(slotNumber);
}

void TcpTransport::closeSocket(Slot& slot) {
    if (slot.socket != InvalidSocket) {
        m_lastError = m_sockets.close(slot.socket).error;
        slot.socket = InvalidSocket;
    }
    slot.unsent.clear();
    slot.unsentFrom = 0;
}

void TcpTransport::selectFor(int slotNumber) {
    const Slot& slot = m_slots[slotNumber];
    if (slot.socket == InvalidSocket) {
        return;
    }
    const bool waiting = slot.unsentFrom < slot.unsent.size();
    m_sockets.selectNotifications(slot.socket, slotNumber,
                                  SelectedEvents | (waiting ? FdWrite : 0));
}

std::size_t TcpTransport::raise(int slotNumber, TcpEvent event, std::string_view data) {
    const std::shared_ptr<TcpEventHandler> handler = m_slots[slotNumber].handler;
    if (handler && *handler) {
        return (*handler)(event, data);
    }
    return 0;
}

void TcpTransport::raiseSelectFailed(int slotNumber) {
    std::string text = "Select failed " + TcpErrorText();
    if (text.size() > ErrorMessageLimit) {
        text.resize(ErrorMessageLimit);
    }
    raise(slotNumber, TcpEvent::Closed, text);
}

}  // namespace mivo
