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
    SocketResult<SocketHandle> createStreamSocket() override {
        return passOn(m_plain->createStreamSocket());
    }
    SocketResult<SocketHandle> createStreamSocket6() override {
        return passOn(m_plain->createStreamSocket6());
    }
    SocketStatus setNonBlocking(SocketHandle socket) override {
        return m_plain->setNonBlocking(socket);
    }
    SocketStatus connect(SocketHandle socket, Ipv4Address address, int port) override {
        return m_plain->connect(socket, address, port);
    }
    SocketStatus connect6(SocketHandle socket, const IpAddress& address, int port) override {
        return m_plain->connect6(socket, address, port);
    }
    SocketStatus startTls(SocketHandle socket, const TlsSettings& settings) override;
    void selectNotifications(SocketHandle socket, int slot, int events) override;
    SocketResult<int> send(SocketHandle socket, const char* data, int length) override;
    SocketResult<int> receive(SocketHandle socket, char* buffer, int capacity) override;
    SocketStatus close(SocketHandle socket) override;
    SocketStatus startHostLookup(int slot, LookupId lookup, const std::string& host) override {
        return m_plain->startHostLookup(slot, lookup, host);
    }
    void post(std::function<void()> task) override { m_plain->post(std::move(task)); }

private:
    struct Connection;

    SocketResult<SocketHandle> passOn(SocketResult<SocketHandle> created);
    void notify(const SocketNotification& notification) override;
    void handshakeStep(SocketHandle handle);
    void handshakeDone(SocketHandle handle, Connection& connection);
    void handshakeFailed(SocketHandle handle, Connection& connection, const std::string& reason);
    void selectForHandshake(SocketHandle handle, Connection& connection, bool wantsWrite);
    void readLater(SocketHandle handle, Connection& connection);
    void breakLater(SocketHandle handle, Connection& connection, int error);
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
    // Posted tasks hold this weakly, so they do nothing once the port is gone.
    std::shared_ptr<TlsSocketPort*> m_alive;
};

}  // namespace mivo
