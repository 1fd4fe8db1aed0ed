#include "tls/TlsSocketPort.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "ports/SocketErrorCodes.h"
#include "tls/TlsContext.h"

namespace mivo {

namespace {

// What a failed handshake, or a broken record, reports as its code.
constexpr int kAborted = socket_error::ConnectionAborted;

constexpr int kHandshakeEvents = FdRead | FdConnect | FdClose;

std::string reasonOfLastError(const char* fallback) {
    const unsigned long error = ERR_peek_last_error();
    const char* reason = error == 0 ? nullptr : ERR_reason_error_string(error);
    return reason != nullptr ? reason : fallback;
}

// The leaf the server showed, also when it failed the check (the session
// keeps it only after a successful one).
X509* shownCertificate(SSL* ssl) {
    STACK_OF(X509)* chain = SSL_get_peer_cert_chain(ssl);
    if (chain != nullptr && sk_X509_num(chain) > 0) {
        return sk_X509_value(chain, 0);
    }
    return SSL_get0_peer_certificate(ssl);
}

std::string pinForm(const std::string& fingerprint) {
    std::string digits;
    for (char c : fingerprint) {
        if (c != ':') {
            digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return digits;
}

}  // namespace

struct TlsSocketPort::Connection {
    enum class State { AwaitingConnection, Handshaking, Open, Failed };
    State state = State::AwaitingConnection;
    TlsSettings settings;
    SslPointer ssl;
    std::string setupProblem;
    int slot = -1;
    int events = 0;  // what the transport selected
    bool readPosted = false;
    bool breakPosted = false;
    // The plain port sent FdRead and waits for a receive before it sends the
    // next; OpenSSL may answer ours from text it holds, without one.
    bool plainReadUnanswered = false;
};

TlsSocketPort::Configuration TlsSocketPort::configurationFromEnvironment() {
    Configuration configuration;
    if (const char* file = std::getenv("MIVO_TLS_CA_FILE"); file != nullptr) {
        configuration.trustedCertificatesFile = file;
    }
    return configuration;
}

TlsSocketPort::TlsSocketPort(std::unique_ptr<SocketPort> plain, Configuration configuration)
    : m_plain(std::move(plain)),
      m_configuration(std::move(configuration)),
      m_alive(std::make_shared<TlsSocketPort*>(this)) {
    m_plain->setNotificationSink(this);
}

TlsSocketPort::~TlsSocketPort() {
    m_plain->setNotificationSink(nullptr);
    m_connections.clear();
}

TlsSocketPort::Connection* TlsSocketPort::find(SocketHandle handle) {
    const auto it = m_connections.find(handle);
    return it == m_connections.end() ? nullptr : it->second.get();
}

SocketResult<SocketHandle> TlsSocketPort::passOn(SocketResult<SocketHandle> created) {
    if (created.ok()) {
        m_plainSockets[created.value] = PlainSocket{};
    }
    return created;
}

SocketStatus TlsSocketPort::startTls(SocketHandle handle, const TlsSettings& settings) {
    const auto plain = m_plainSockets.find(handle);
    if (plain == m_plainSockets.end() || find(handle) != nullptr) {
        return {socket_error::NotSocket};
    }
    if (!m_context) {
        m_context = std::make_unique<TlsContext>(m_configuration.trustedCertificatesFile);
    }
    auto connection = std::make_unique<Connection>();
    connection->settings = settings;
    connection->ssl = m_context->newConnection(*m_plain, handle, settings);
    // Reported as the handshake's failure, with the connection's other
    // failures, rather than as a socket error.
    connection->setupProblem = m_context->problem().empty()
                                   ? "TLS: could not be set up for " + settings.serverName
                                   : m_context->problem();
    connection->slot = plain->second.slot;
    connection->events = plain->second.events;
    Connection& added = *m_connections.emplace(handle, std::move(connection)).first->second;
    if (plain->second.connected) {
        // Turning an open conversation to TLS: the handshake starts from the
        // event loop, after the caller's notification is handled.
        added.state = Connection::State::Handshaking;
        selectForHandshake(handle, added, false);
        std::weak_ptr<TlsSocketPort*> alive = m_alive;
        m_plain->post([alive, handle] {
            if (auto port = alive.lock()) {
                (*port)->handshakeStep(handle);
            }
        });
    }
    return {};
}

void TlsSocketPort::selectNotifications(SocketHandle handle, int slot, int events) {
    if (const auto plain = m_plainSockets.find(handle); plain != m_plainSockets.end()) {
        plain->second.slot = slot;
        plain->second.events = events;
    }
    Connection* connection = find(handle);
    if (connection == nullptr || connection->state == Connection::State::Open) {
        if (connection != nullptr) {
            connection->slot = slot;
            connection->events = events;
        }
        m_plain->selectNotifications(handle, slot, events);
        return;
    }
    connection->slot = slot;
    connection->events = events;
    if (connection->state == Connection::State::AwaitingConnection) {
        m_plain->selectNotifications(handle, slot, events | kHandshakeEvents);
    }
}

void TlsSocketPort::selectForHandshake(SocketHandle handle, Connection& connection,
                                       bool wantsWrite) {
    m_plain->selectNotifications(handle, connection.slot,
                                 kHandshakeEvents | (wantsWrite ? FdWrite : 0));
}

SocketResult<int> TlsSocketPort::send(SocketHandle handle, const char* data, int length) {
    Connection* connection = find(handle);
    if (connection == nullptr) {
        return m_plain->send(handle, data, length);
    }
    if (connection->state != Connection::State::Open) {
        // Nothing goes out in clear once TLS is asked for.
        return {0, socket_error::NotConnected};
    }
    ERR_clear_error();
    const int sent = SSL_write(connection->ssl.get(), data, length);
    if (sent > 0) {
        return {sent};
    }
    const int error = SSL_get_error(connection->ssl.get(), sent);
    if (error == SSL_ERROR_WANT_WRITE || error == SSL_ERROR_WANT_READ) {
        return {0, socket_error::WouldBlock};
    }
    const int socketError = TlsContext::lastSocketError(connection->ssl.get());
    return {0, socketError != 0 ? socketError : kAborted};
}

SocketResult<int> TlsSocketPort::receive(SocketHandle handle, char* buffer, int capacity) {
    Connection* connection = find(handle);
    if (connection == nullptr) {
        return m_plain->receive(handle, buffer, capacity);
    }
    if (connection->state != Connection::State::Open) {
        return {0, socket_error::WouldBlock};
    }
    SSL* ssl = connection->ssl.get();
    ERR_clear_error();
    const unsigned long readsBefore = TlsContext::socketReads(ssl);
    const int count = SSL_read(ssl, buffer, capacity);
    if (TlsContext::socketReads(ssl) != readsBefore) {
        connection->plainReadUnanswered = false;
    } else if (connection->plainReadUnanswered) {
        // A receive of nothing answers it, so the socket is watched again.
        connection->plainReadUnanswered = false;
        m_plain->receive(handle, buffer, 0);
    }
    if (count > 0) {
        if (SSL_pending(ssl) > 0 || SSL_has_pending(ssl) == 1) {
            // Decrypted text the socket will not announce again.
            readLater(handle, *connection);
        }
        return {count};
    }
    const int error = SSL_get_error(ssl, count);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
        return {0, socket_error::WouldBlock};
    }
    if (error == SSL_ERROR_ZERO_RETURN ||
        (error == SSL_ERROR_SYSCALL && TlsContext::lastSocketError(ssl) == 0)) {
        return {0};
    }
    // A broken record is no orderly end: the connection ends with an error.
    const int socketError = TlsContext::lastSocketError(ssl);
    const int broken = socketError != 0 ? socketError : kAborted;
    breakLater(handle, *connection, broken);
    return {0, broken};
}

SocketStatus TlsSocketPort::close(SocketHandle handle) {
    if (Connection* connection = find(handle)) {
        if (connection->state == Connection::State::Open) {
            // The close_notify alert, if the socket takes it at once.
            ERR_clear_error();
            SSL_shutdown(connection->ssl.get());
        }
        m_connections.erase(handle);
    }
    m_plainSockets.erase(handle);
    return m_plain->close(handle);
}

void TlsSocketPort::notify(const SocketNotification& notification) {
    Connection* connection = notification.isLookup ? nullptr : find(notification.socket);
    if (connection == nullptr) {
        if (!notification.isLookup && notification.event == FdConnect && notification.error == 0) {
            if (const auto plain = m_plainSockets.find(notification.socket);
                plain != m_plainSockets.end()) {
                plain->second.connected = true;
            }
        }
        deliver(notification);
        return;
    }
    const SocketHandle handle = notification.socket;
    switch (connection->state) {
        case Connection::State::AwaitingConnection:
            if (notification.event != FdConnect) {
                return;
            }
            if (notification.error != 0) {
                deliver(notification);  // the plain connect failed: no TLS yet
                return;
            }
            connection->state = Connection::State::Handshaking;
            handshakeStep(handle);
            return;
        case Connection::State::Handshaking:
            if (notification.error != 0 || notification.event == FdClose) {
                handshakeFailed(handle, *connection,
                                "TLS: handshake failed (connection closed by the server) for " +
                                    connection->settings.serverName);
                return;
            }
            handshakeStep(handle);
            return;
        case Connection::State::Open:
            if (notification.event == FdRead && notification.error == 0) {
                connection->plainReadUnanswered = true;
            }
            deliver(notification);
            return;
        case Connection::State::Failed:
            return;
    }
}

void TlsSocketPort::handshakeStep(SocketHandle handle) {
    Connection* connection = find(handle);
    if (connection == nullptr || connection->state != Connection::State::Handshaking) {
        return;
    }
    if (!connection->ssl) {
        handshakeFailed(handle, *connection, connection->setupProblem);
        return;
    }
    SSL* ssl = connection->ssl.get();
    ERR_clear_error();
    const int result = SSL_do_handshake(ssl);
    if (result == 1) {
        handshakeDone(handle, *connection);
        return;
    }
    const int error = SSL_get_error(ssl, result);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
        selectForHandshake(handle, *connection, error == SSL_ERROR_WANT_WRITE);
        return;
    }
    const std::string& host = connection->settings.serverName;
    const long verified = SSL_get_verify_result(ssl);
    std::string reason;
    if (verified != X509_V_OK) {
        reason = std::string("certificate verify failed (") +
                 X509_verify_cert_error_string(verified) + ")";
    } else if (ERR_peek_last_error() == 0) {
        reason = "handshake failed (connection closed by the server)";
    } else {
        reason = "handshake failed (" + reasonOfLastError("unknown error") + ")";
    }
    handshakeFailed(handle, *connection, "TLS: " + reason + " for " + host);
}

void TlsSocketPort::handshakeDone(SocketHandle handle, Connection& connection) {
    SSL* ssl = connection.ssl.get();
    const std::string fingerprint = certificateFingerprint(shownCertificate(ssl));
    const std::string& pin = connection.settings.pinnedSha256;
    if (!pin.empty() && pinForm(fingerprint) != pin) {
        handshakeFailed(handle, connection,
                        "TLS: certificate fingerprint does not match the pin for " +
                            connection.settings.serverName);
        return;
    }
    connection.state = Connection::State::Open;
    m_plain->selectNotifications(handle, connection.slot, connection.events);
    SocketNotification done;
    done.slot = connection.slot;
    done.socket = handle;
    done.event = FdConnect;
    done.tlsText = std::string("TLS: ") + SSL_get_version(ssl) + " with " +
                   SSL_get_cipher_name(ssl) +
                   (pin.empty() ? std::string{} : ", certificate matches its pin");
    done.peerFingerprint = fingerprint;
    deliver(done);
}

void TlsSocketPort::handshakeFailed(SocketHandle handle, Connection& connection,
                                    const std::string& reason) {
    connection.state = Connection::State::Failed;
    SocketNotification failed;
    failed.slot = connection.slot;
    failed.socket = handle;
    failed.event = FdConnect;
    failed.error = kAborted;
    failed.tlsText = reason;
    if (connection.ssl) {
        failed.peerFingerprint = certificateFingerprint(shownCertificate(connection.ssl.get()));
    }
    deliver(failed);
}

void TlsSocketPort::readLater(SocketHandle handle, Connection& connection) {
    if (connection.readPosted) {
        return;
    }
    connection.readPosted = true;
    std::weak_ptr<TlsSocketPort*> alive = m_alive;
    m_plain->post([alive, handle] {
        auto port = alive.lock();
        Connection* waiting = port ? (*port)->find(handle) : nullptr;
        if (waiting == nullptr || waiting->state != Connection::State::Open) {
            return;
        }
        waiting->readPosted = false;
        SocketNotification readable;
        readable.slot = waiting->slot;
        readable.socket = handle;
        readable.event = FdRead;
        (*port)->deliver(readable);
    });
}

void TlsSocketPort::breakLater(SocketHandle handle, Connection& connection, int error) {
    if (connection.breakPosted) {
        return;
    }
    connection.breakPosted = true;
    std::weak_ptr<TlsSocketPort*> alive = m_alive;
    m_plain->post([alive, handle, error] {
        auto port = alive.lock();
        Connection* broken = port ? (*port)->find(handle) : nullptr;
        if (broken == nullptr || broken->state != Connection::State::Open) {
            return;
        }
        broken->state = Connection::State::Failed;
        SocketNotification closed;
        closed.slot = broken->slot;
        closed.socket = handle;
        closed.event = FdClose;
        closed.error = error;
        (*port)->deliver(closed);
    });
}

void TlsSocketPort::deliver(const SocketNotification& notification) {
    if (m_sink != nullptr) {
        m_sink->notify(notification);
    }
}

}  // namespace mivo
