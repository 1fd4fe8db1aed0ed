#pragma once
// OpenSSL's client context for every TLS connection of the program: the trust
// store, the lowest protocol version, and the socket BIO that carries TLS
// records over the plain socket port without copying them.

#include <openssl/ssl.h>

#include <memory>
#include <string>

#include "ports/SocketPort.h"

namespace mivo {

struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};
using SslPointer = std::unique_ptr<SSL, SslFree>;

class TlsContext {
public:
    // `trustedCertificatesFile` empty: the system's trust store.
    explicit TlsContext(const std::string& trustedCertificatesFile);
    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

    // Why no connection can be made (the trust store could not be read);
    // empty when they can.
    const std::string& problem() const { return m_problem; }

    // A client connection over `socket` of `plain`, checked as `settings`
    // asks; nullptr on failure.
    SslPointer newConnection(SocketPort& plain, SocketHandle socket,
                             const TlsSettings& settings) const;

    // The plain port's error code of the last socket BIO call on `ssl`.
    static int lastSocketError(SSL* ssl);
    // How many receives the socket BIO of `ssl` has asked of the plain port.
    static unsigned long socketReads(SSL* ssl);

private:
    SSL_CTX* m_context = nullptr;
    BIO_METHOD* m_socketMethod = nullptr;
    std::string m_problem;
};

// The certificate's SHA-256 fingerprint as colon-separated upper-case hex.
std::string certificateFingerprint(X509* certificate);

}  // namespace mivo
