#pragma once
// The socket port on Linux: non-blocking POSIX sockets watched by the Qt
// event loop, host lookups on their own threads. Needs a QCoreApplication.

#include <sys/socket.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ports/SocketPort.h"

class QObject;

namespace mivo {

class SocketNotifiers;

class PosixSocketPort : public SocketPort {
public:
    PosixSocketPort();
    ~PosixSocketPort() override;
    PosixSocketPort(const PosixSocketPort&) = delete;
    PosixSocketPort& operator=(const PosixSocketPort&) = delete;

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
    void post(std::function<void()> task) override;

    // Sockets open now (for tests).
    std::size_t openSockets() const { return m_sockets.size(); }

private:
    enum class State { Created, Connecting, Connected, Failed };
    struct Socket;
    struct LookupMailbox;

    Socket* find(SocketHandle handle);
    SocketResult<SocketHandle> createSocket(int family);
    SocketStatus connectTo(Socket& socket, const sockaddr* target, socklen_t size);
    void readable(SocketHandle handle);
    void writable(SocketHandle handle);
    void updateWatching(Socket& socket);
    void notify(int slot, SocketHandle handle, int event, int error);
    void deliver(const SocketNotification& notification);
    void oweAcknowledgement(Socket& socket);
    void acknowledgeOwed();

    std::unique_ptr<QObject> m_context;  // posted calls and notifiers live on it
    std::shared_ptr<LookupMailbox> m_mailbox;
    std::map<SocketHandle, std::unique_ptr<Socket>> m_sockets;
    SocketNotificationSink* m_sink = nullptr;
    SocketHandle m_nextHandle = 1;
    int m_deliveryDepth = 0;  // notifications being handled, nested
    bool m_acknowledgementsOwed = false;
};

}  // namespace mivo
