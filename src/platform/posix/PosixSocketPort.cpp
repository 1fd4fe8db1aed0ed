#include "posix/PosixSocketPort.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QMetaObject>
#include <QObject>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "ports/SocketErrorCodes.h"
#include "posix/HostLookup.h"
#include "posix/SocketErrors.h"
#include "qt/SocketNotifiers.h"

namespace mivo {

namespace {

int pendingSocketError(int fd) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
        return errno;
    }
    return error;
}

void setTcpOption(int fd, int option) {
    const int on = 1;
    // Only latency depends on it: a socket that refuses it still works.
    ::setsockopt(fd, IPPROTO_TCP, option, &on, sizeof on);
}

// Failures Linux reports at once for a non-blocking connect that
// Windows reports later, through the connect notification.
bool isReportedLater(int error) {
    return error == ECONNREFUSED || error == ENETUNREACH || error == EHOSTUNREACH ||
           error == ETIMEDOUT;
}

}  // namespace

struct PosixSocketPort::Socket {
    int fd = -1;
    int slot = -1;
    int events = 0;
    State state = State::Created;
    int laterConnectError = 0;  // a connect failure to report as a notification
    bool laterConnectErrorPosted = false;
    bool readDelivered = false;   // FD_READ out, not yet answered by a receive
    bool writeDelivered = false;  // FD_WRITE out, not yet answered by a send
    bool ended = false;           // end of stream or FD_CLOSE seen
    bool ackOwed = false;         // data read, nothing sent since to carry the ACK
    std::unique_ptr<SocketNotifiers> notifiers;
};

// Lets lookup threads post their result for as long as the port exists.
struct PosixSocketPort::LookupMailbox {
    std::mutex mutex;
    QObject* context = nullptr;
    PosixSocketPort* port = nullptr;
};

PosixSocketPort::PosixSocketPort()
    : m_context(std::make_unique<QObject>()), m_mailbox(std::make_shared<LookupMailbox>()) {
    m_mailbox->context = m_context.get();
    m_mailbox->port = this;
}

PosixSocketPort::~PosixSocketPort() {
    {
        const std::lock_guard lock(m_mailbox->mutex);
        m_mailbox->context = nullptr;
        m_mailbox->port = nullptr;
    }
    while (!m_sockets.empty()) {
        close(m_sockets.begin()->first);
    }
    // Deleting the context drops its posted calls and remaining notifiers.
    m_context.reset();
}

PosixSocketPort::Socket* PosixSocketPort::find(SocketHandle handle) {
    const auto it = m_sockets.find(handle);
    return it == m_sockets.end() ? nullptr : it->second.get();
}

SocketResult<SocketHandle> PosixSocketPort::createStreamSocket() {
    return createSocket(AF_INET);
}

SocketResult<SocketHandle> PosixSocketPort::createStreamSocket6() {
    return createSocket(AF_INET6);
}

SocketResult<SocketHandle> PosixSocketPort::createSocket(int family) {
    // Non-blocking from the start: the program's thread must never wait.
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return {InvalidSocket, windowsSocketError(errno)};
    }
    // Every command goes out in one send and is answered before the next,
    // so Nagle could only hold a command back; without it each send leaves
    // at once and carries the acknowledgement of what was read before it.
    setTcpOption(fd, TCP_NODELAY);
    const SocketHandle handle = m_nextHandle++;
    auto socket = std::make_unique<Socket>();
    socket->fd = fd;
    socket->notifiers = std::make_unique<SocketNotifiers>(
        fd, *m_context, [this, handle] { readable(handle); }, [this, handle] { writable(handle); });
    m_sockets.emplace(handle, std::move(socket));
    return {handle};
}

SocketStatus PosixSocketPort::setNonBlocking(SocketHandle handle) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return {socket_error::NotSocket};
    }
    const int flags = ::fcntl(socket->fd, F_GETFL);
    if (flags < 0 || ::fcntl(socket->fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        return {windowsSocketError(errno)};
    }
    return {};
}

SocketStatus PosixSocketPort::connect(SocketHandle handle, Ipv4Address address, int port) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return {socket_error::NotSocket};
    }
    // Windows refuses these destinations at once; Linux would
    // try the broadcast address or take "any" as this machine.
    if (address == 0xFFFFFFFFu || address == 0) {
        return {socket_error::AddressNotAvailable};
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<std::uint16_t>(port));
    target.sin_addr.s_addr = htonl(address);
    return connectTo(*socket, reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

SocketStatus PosixSocketPort::connect6(SocketHandle handle, const IpAddress& address, int port) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return {socket_error::NotSocket};
    }
    sockaddr_in6 target{};
    target.sin6_family = AF_INET6;
    target.sin6_port = htons(static_cast<std::uint16_t>(port));
    std::memcpy(&target.sin6_addr, address.ipv6.data(), address.ipv6.size());
    return connectTo(*socket, reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

SocketStatus PosixSocketPort::connectTo(Socket& socket, const sockaddr* target, socklen_t size) {
    if (::connect(socket.fd, target, size) == 0) {
        // Still reported through the connect notification, as always.
        socket.state = State::Connecting;
        return {};
    }
    const int error = errno;
    if (error == EINPROGRESS || error == EINTR) {
        socket.state = State::Connecting;
        return {socket_error::InProgress};
    }
    if (isReportedLater(error)) {
        socket.state = State::Connecting;
        socket.laterConnectError = windowsSocketError(error);
        return {socket_error::InProgress};
    }
    return {windowsSocketError(error)};
}

SocketStatus PosixSocketPort::startTls(SocketHandle, const TlsSettings&) {
    // Plain sockets only: TLS is TlsSocketPort's, layered over this port.
    return {socket_error::NotSocket};
}

void PosixSocketPort::selectNotifications(SocketHandle handle, int slot, int events) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return;
    }
    socket->slot = slot;
    socket->events = events;
    socket->writeDelivered = false;
    if (socket->laterConnectError != 0 && (events & FdConnect) != 0 &&
        !socket->laterConnectErrorPosted) {
        socket->laterConnectErrorPosted = true;
        post([this, handle] {
            Socket* failed = find(handle);
            if (failed == nullptr || failed->state != State::Connecting) {
                return;
            }
            failed->state = State::Failed;
            notify(failed->slot, handle, FdConnect, failed->laterConnectError);
        });
    }
    updateWatching(*socket);
}

SocketResult<int> PosixSocketPort::send(SocketHandle handle, const char* data, int length) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return {0, socket_error::NotSocket};
    }
    // A peer that is gone must give an error here, not end the process.
    const ssize_t sent =
        ::send(socket->fd, data, static_cast<std::size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    const int error = sent < 0 ? windowsSocketError(errno) : 0;
    if (sent > 0) {
        socket->ackOwed = false;
    }
    socket->writeDelivered = false;
    updateWatching(*socket);
    return {sent < 0 ? 0 : static_cast<int>(sent), error};
}

SocketResult<int> PosixSocketPort::receive(SocketHandle handle, char* buffer, int capacity) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return {0, socket_error::NotSocket};
    }
    const ssize_t count =
        ::recv(socket->fd, buffer, static_cast<std::size_t>(capacity), MSG_DONTWAIT);
    const int error = count < 0 ? windowsSocketError(errno) : 0;
    if (count == 0 && capacity > 0) {
        socket->ended = true;
    }
    if (count > 0) {
        oweAcknowledgement(*socket);
    }
    socket->readDelivered = false;
    updateWatching(*socket);
    return {count < 0 ? 0 : static_cast<int>(count), error};
}

SocketStatus PosixSocketPort::close(SocketHandle handle) {
    const auto it = m_sockets.find(handle);
    if (it == m_sockets.end()) {
        return {socket_error::NotSocket};
    }
    std::unique_ptr<Socket> socket = std::move(it->second);
    m_sockets.erase(it);
    socket->notifiers.reset();  // switched off before the descriptor goes
    ::close(socket->fd);
    return {};
}

SocketStatus PosixSocketPort::startHostLookup(int slot, LookupId lookup, const std::string& host) {
    std::shared_ptr<LookupMailbox> mailbox = m_mailbox;
    try {
        std::thread([mailbox, slot, lookup, host] {
            const HostLookupResult result = lookUpHost(host);
            SocketNotification done;
            done.slot = slot;
            done.isLookup = true;
            done.lookup = lookup;
            done.error = result.error;
            done.addresses = result.addresses;
            const std::lock_guard lock(mailbox->mutex);
            if (mailbox->context != nullptr) {
                PosixSocketPort* port = mailbox->port;
                QMetaObject::invokeMethod(
                    mailbox->context, [port, done] { port->deliver(done); }, Qt::QueuedConnection);
            }
        }).detach();
    } catch (const std::system_error&) {
        return {socket_error::NoBuffers};
    }
    return {};
}

void PosixSocketPort::post(std::function<void()> task) {
    QMetaObject::invokeMethod(m_context.get(), std::move(task), Qt::QueuedConnection);
}

void PosixSocketPort::readable(SocketHandle handle) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return;
    }
    if (socket->readDelivered) {
        // The last FD_READ is still unanswered (its receive waits behind
        // another notification): no further one until it is.
        updateWatching(*socket);
        return;
    }
    // One FD_READ at a time: the next waits for the receive that answers it.
    // The notifier stays on meanwhile, since that receive nearly always comes
    // before this call returns: switching it off and on again would cost a
    // wake-up of the event loop for every reply.
    socket->readDelivered = true;
    const int error = pendingSocketError(socket->fd);
    if (error != 0) {
        // A reset arrives as the close notification carrying its error.
        socket->ended = true;
        updateWatching(*socket);
        notify(socket->slot, handle, FdClose, windowsSocketError(error));
        return;
    }
    notify(socket->slot, handle, FdRead, 0);
    if (Socket* after = find(handle)) {
        updateWatching(*after);
    }
}

void PosixSocketPort::writable(SocketHandle handle) {
    Socket* socket = find(handle);
    if (socket == nullptr) {
        return;
    }
    if (socket->state == State::Connecting) {
        const int error = pendingSocketError(socket->fd);
        socket->state = error == 0 ? State::Connected : State::Failed;
        updateWatching(*socket);
        if ((socket->events & FdConnect) != 0) {
            notify(socket->slot, handle, FdConnect, windowsSocketError(error));
        }
        return;
    }
    socket->writeDelivered = true;
    updateWatching(*socket);
    notify(socket->slot, handle, FdWrite, 0);
}

void PosixSocketPort::updateWatching(Socket& socket) {
    const bool connected = socket.state == State::Connected;
    socket.notifiers->watchReadable(connected && (socket.events & FdRead) != 0 &&
                                    !socket.readDelivered && !socket.ended);
    const bool connecting =
        socket.state == State::Connecting && socket.laterConnectError == 0 && socket.events != 0;
    socket.notifiers->watchWritable(connecting || (connected && (socket.events & FdWrite) != 0 &&
                                                   !socket.writeDelivered && !socket.ended));
}

void PosixSocketPort::notify(int slot, SocketHandle handle, int event, int error) {
    SocketNotification notification;
    notification.slot = slot;
    notification.socket = handle;
    notification.event = event;
    notification.error = error;
    deliver(notification);
}

// Linux delays the acknowledgement of data it has received (by some 40 ms)
// in the hope of sending it with the answer. A server that writes one reply
// in several pieces with Nagle on sends its second piece only once the first
// is acknowledged; the program answers nothing before the reply is whole, so
// each reply would wait out the timer. So once the program has handled a
// notification, a socket it read from and sent nothing on since is told to
// acknowledge at once (TCP_QUICKACK; the kernel drops it again by itself,
// hence every time). Where the program did send, the data carried the
// acknowledgement and no extra segment is made.
void PosixSocketPort::oweAcknowledgement(Socket& socket) {
    if (m_deliveryDepth == 0) {
        setTcpOption(socket.fd, TCP_QUICKACK);
        return;
    }
    socket.ackOwed = true;
    m_acknowledgementsOwed = true;
}

void PosixSocketPort::acknowledgeOwed() {
    if (!m_acknowledgementsOwed) {
        return;
    }
    m_acknowledgementsOwed = false;
    for (const auto& [handle, socket] : m_sockets) {
        if (socket->ackOwed) {
            socket->ackOwed = false;
            setTcpOption(socket->fd, TCP_QUICKACK);
        }
    }
}

void PosixSocketPort::deliver(const SocketNotification& notification) {
    if (m_sink == nullptr) {
        return;
    }
    // Also when the handler throws: the exception goes on to the event loop.
    struct DeliveryScope {
        PosixSocketPort& port;
        explicit DeliveryScope(PosixSocketPort& owner) : port(owner) { ++port.m_deliveryDepth; }
        ~DeliveryScope() {
            --port.m_deliveryDepth;
            port.acknowledgeOwed();
        }
        DeliveryScope(const DeliveryScope&) = delete;
        DeliveryScope& operator=(const DeliveryScope&) = delete;
    } scope(*this);
    m_sink->notify(notification);
}

}  // namespace mivo
