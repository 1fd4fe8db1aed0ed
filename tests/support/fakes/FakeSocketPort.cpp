#include "FakeSocketPort.h"

#include <algorithm>
#include <cstring>

namespace mivo::test {

SocketResult<SocketHandle> FakeSocketPort::createStreamSocket() {
    if (createError != 0) {
        return {InvalidSocket, createError};
    }
    const SocketHandle handle = m_nextHandle++;
    sockets[handle].handle = handle;
    m_lastCreated = handle;
    return {handle};
}

SocketResult<SocketHandle> FakeSocketPort::createStreamSocket6() {
    const SocketResult<SocketHandle> created = createStreamSocket();
    if (created.ok()) {
        socket(created.value).ipv6 = true;
    }
    return created;
}

SocketStatus FakeSocketPort::setNonBlocking(SocketHandle handle) {
    socket(handle).nonBlocking = true;
    return {};
}

SocketStatus FakeSocketPort::connect(SocketHandle handle, Ipv4Address address, int port) {
    Socket& target = socket(handle);
    target.address = address;
    target.port = port;
    return {connectError};
}

SocketStatus FakeSocketPort::connect6(SocketHandle handle, const IpAddress& address, int port) {
    Socket& target = socket(handle);
    target.address6 = address;
    target.port = port;
    return {connectError};
}

SocketStatus FakeSocketPort::startTls(SocketHandle handle, const TlsSettings& settings) {
    if (tlsStartFails) {
        return {socket_error::NotSocket};
    }
    socket(handle).tls = settings;
    return {};
}

void FakeSocketPort::selectNotifications(SocketHandle handle, int slot, int events) {
    Socket& target = socket(handle);
    target.slot = slot;
    target.selected = events;
}

SocketResult<int> FakeSocketPort::send(SocketHandle handle, const char* data, int length) {
    Socket& target = socket(handle);
    if (target.closed) {
        return {0, socket_error::NotSocket};
    }
    long taken = length;
    if (target.sendRoom >= 0) {
        taken = std::min(taken, target.sendRoom);
        target.sendRoom -= taken;
    }
    if (taken == 0 && length > 0) {
        return {0, socket_error::WouldBlock};
    }
    target.sent.append(data, static_cast<std::size_t>(taken));
    return {static_cast<int>(taken)};
}

SocketResult<int> FakeSocketPort::receive(SocketHandle handle, char* buffer, int capacity) {
    Socket& target = socket(handle);
    target.receiveCapacities.push_back(capacity);
    if (target.closed) {
        return {0, socket_error::NotSocket};
    }
    if (target.incoming.empty()) {
        return {0, target.peerClosed ? 0 : socket_error::WouldBlock};
    }
    std::string& chunk = target.incoming.front();
    const std::size_t count = std::min(chunk.size(), static_cast<std::size_t>(capacity));
    std::memcpy(buffer, chunk.data(), count);
    chunk.erase(0, count);
    if (chunk.empty()) {
        target.incoming.pop_front();
    }
    return {static_cast<int>(count)};
}

SocketStatus FakeSocketPort::close(SocketHandle handle) {
    socket(handle).closed = true;
    return {};
}

SocketStatus FakeSocketPort::startHostLookup(int slot, LookupId lookup, const std::string& host) {
    if (lookupStartFails) {
        return {socket_error::HostNotFound};
    }
    lookups.push_back(Lookup{slot, lookup, host});
    return {};
}

SocketHandle FakeSocketPort::socketOfSlot(int slot) const {
    for (auto it = sockets.rbegin(); it != sockets.rend(); ++it) {
        if (it->second.slot == slot) {
            return it->first;
        }
    }
    return InvalidSocket;
}

void FakeSocketPort::serverSends(SocketHandle handle, const std::vector<std::string>& chunks) {
    for (const std::string& chunk : chunks) {
        sendChunk(handle, chunk);
    }
}

void FakeSocketPort::serverSendsInPieces(SocketHandle handle, std::string_view bytes,
                                         std::size_t pieceSize) {
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize) {
        sendChunk(handle, bytes.substr(at, pieceSize));
    }
}

void FakeSocketPort::sendChunk(SocketHandle handle, std::string_view chunk) {
    if (!chunk.empty()) {
        socket(handle).incoming.emplace_back(chunk);
    }
    // Like a level-triggered platform: FD_READ again while unread bytes
    // remain and the client keeps taking them.
    std::size_t receives = socket(handle).receiveCapacities.size();
    do {
        receives = socket(handle).receiveCapacities.size();
        notify(handle, FdRead, 0);
    } while (!socket(handle).closed && !socket(handle).incoming.empty() &&
             socket(handle).receiveCapacities.size() != receives);
}

void FakeSocketPort::serverCloses(SocketHandle handle) {
    socket(handle).peerClosed = true;
    notify(handle, FdRead, 0);
}

void FakeSocketPort::becomesWritable(SocketHandle handle, long room) {
    socket(handle).sendRoom = room;
    if ((socket(handle).selected & FdWrite) != 0) {
        notify(handle, FdWrite, 0);
    }
}

void FakeSocketPort::completeLookup(std::size_t index, std::optional<Ipv4Address> address,
                                    int error) {
    const Lookup& lookup = lookups.at(index);
    SocketNotification notification;
    notification.slot = lookup.slot;
    notification.isLookup = true;
    notification.lookup = lookup.id;
    notification.error = error;
    if (address) {
        notification.addresses.push_back(IpAddress{false, *address, {}});
    }
    deliver(notification);
}

void FakeSocketPort::completeLookup(std::size_t index, std::vector<IpAddress> addresses) {
    const Lookup& lookup = lookups.at(index);
    SocketNotification notification;
    notification.slot = lookup.slot;
    notification.isLookup = true;
    notification.lookup = lookup.id;
    notification.addresses = std::move(addresses);
    deliver(notification);
}

void FakeSocketPort::tlsDone(SocketHandle handle, std::string tlsText, int error,
                             std::string peerFingerprint) {
    const Socket& target = socket(handle);
    if (target.closed) {
        return;
    }
    SocketNotification notification;
    notification.slot = target.slot;
    notification.socket = handle;
    notification.event = FdConnect;
    notification.error = error;
    notification.tlsText = std::move(tlsText);
    notification.peerFingerprint = std::move(peerFingerprint);
    deliver(notification);
}

void FakeSocketPort::notify(SocketHandle handle, int event, int error) {
    const Socket& target = socket(handle);
    // A closed socket's notifications never reach the transport.
    if (target.closed) {
        return;
    }
    SocketNotification notification;
    notification.slot = target.slot;
    notification.socket = handle;
    notification.event = event;
    notification.error = error;
    deliver(notification);
}

void FakeSocketPort::deliver(const SocketNotification& notification) {
    if (m_sink != nullptr) {
        m_sink->notify(notification);
    }
}

void FakeSocketPort::runPosted() {
    while (!posted.empty()) {
        auto task = std::move(posted.front());
        posted.erase(posted.begin());
        task();
    }
}

}  // namespace mivo::test
