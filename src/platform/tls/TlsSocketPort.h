#pragma once
// The socket port with TLS: a layer over the plain socket port that turns the
// sockets asked for into TLS connections with OpenSSL. The handshake and the
// certificate check run below the transport, before the socket's connect
// notification; afterwards send and receive carry plain text. Other sockets
// pass through untouched.

#include <map>
#include <memory>
#include <string>

#include "ports/SocketPort.h"

namespace mivo {

class TlsContext;

class TlsSocketPort : public SocketPort, private SocketNotificationSink {
public:
    struct Configuration {
        // A PEM file of the certificates to trust instead of the system's
        // store; empty for the system's store.
        std::string trustedCertificatesFile;
    };
    // MIVO_TLS_CA_FILE names the file of trusted certificates when set and
    // not empty.
    static Configuration configurationFromEnvironment();

    // Takes over `plain`: its notifications now come here first.
    TlsSocketPort(std::unique_ptr<SocketPort> plain, Configuration configuration);
    ~TlsSocketPort() override;
    TlsSocketPort(const TlsSocketPort&) = delete;
    TlsSocketPort& operator=(const TlsSocketPort&) = delete;

    void setNotificationSink(SocketNotificationSink* sink) override { m_sink = sink; }
    SocketHandle createStreamSocket() override { return passOn(m_plain->createStreamSocket()); }
    SocketHandle createStreamSocket6() override { return passOn(m_plain->createStreamSocket6()); }
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
    void post(std::function<void()> task) override { m_plain->post(std::move(task)); }

private:
    struct Connection;

    SocketHandle passOn(SocketHandle socket);
    void TcpWndProc(const SocketNotification& notification) override;
    void handshakeStep(SocketHandle handle);
    void handshakeDone(SocketHandle handle, Connection& connection);
    void handshakeFailed(SocketHandle handle, Connection& connection, const std::string& reason);
    void selectForHandshake(SocketHandle handle, Connection& connection, bool wantsWrite);
    void readLater(SocketHandle handle, Connection& connection);
    void breakLater(SocketHandle handle, Connection& connection);
    void deliver(const SocketNotification& notification);
    Connection* find(SocketHandle handle);

    std::unique_ptr<SocketPort> m_plain;
    Configuration m_configuration;
    std::unique_ptr<TlsContext> m_context;  // made at the first TLS connection
    std::map<SocketHandle, std::unique_ptr<Connection>> m_connections;
    struct PlainSocket {
        int slot = -1;
        int events = 0;
        bool connected = false;
    };
    std::map<SocketHandle, PlainSocket> m_plainSockets;  // what a later startTls needs
    SocketNotificationSink* m_sink = nullptr;
    int m_lastError = 0;
    // Posted tasks hold this weakly, so they do nothing once the port is gone.
    std::shared_ptr<TlsSocketPort*> m_alive;
};

}  // namespace mivo
