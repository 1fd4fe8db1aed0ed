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
    SocketHandle createStreamSocket() override;
    SocketHandle createStreamSocket6() override;
    bool setNonBlocking(SocketHandle socket) override;
    int connect(SocketHandle socket, Ipv4Address address, int port) override;
    int connect6(SocketHandle socket, const IpAddress& address, int port) override;
    bool startTls(SocketHandle socket, const TlsSettings& settings) override;
    void selectNotifications(SocketHandle socket, int slot, int events) override;
    int send(SocketHandle socket, const char* data, int length) override;
    int receive(SocketHandle socket, char* buffer, int capacity) override;
    void close(SocketHandle socket) override;
    int lastError() const override { return m_lastError; }
    bool startHostLookup(int slot, LookupId lookup, const std::string& host) override;
    void post(std::function<void()> task) override;

    // Sockets open now (for tests).
    std::size_t openSockets() const { return m_sockets.size(); }

private:
    enum class State { Created, Connecting, Connected, Failed };
    struct Socket;
    struct LookupMailbox;

    Socket* find(SocketHandle handle);
    SocketHandle createSocket(int family);
    int connectTo(Socket& socket, const sockaddr* target, socklen_t size);
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
    int m_lastError = 0;
    int m_deliveryDepth = 0;  // notifications being handled, nested
    bool m_acknowledgementsOwed = false;
};

}  // namespace mivo
