#include "tls/TlsContext.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <array>
#include <cstring>

#include "ports/SocketErrorCodes.h"

namespace mivo {

namespace {

// What a socket BIO carries its records over.
struct SocketBioTarget {
    SocketPort* plain = nullptr;
    SocketHandle socket = InvalidSocket;
    int lastError = 0;
    unsigned long reads = 0;  // receives asked of the plain port
    // The LF of the clear reply's line end may still come first.
    bool lineFeedMayLead = false;
};

SocketBioTarget* targetOf(BIO* bio) {
    return static_cast<SocketBioTarget*>(BIO_get_data(bio));
}

// OpenSSL reads and writes straight from and into its own record buffers:
// no copy of the records is made on the way to the socket.
int socketBioWrite(BIO* bio, const char* data, int length) {
    SocketBioTarget* target = targetOf(bio);
    BIO_clear_retry_flags(bio);
    const SocketResult<int> sent = target->plain->send(target->socket, data, length);
    target->lastError = sent.error;
    if (!sent.ok()) {
        if (sent.error == socket_error::WouldBlock) {
            BIO_set_retry_write(bio);
        }
        return -1;
    }
    return sent.value;
}

int socketBioRead(BIO* bio, char* buffer, int size) {
    SocketBioTarget* target = targetOf(bio);
    BIO_clear_retry_flags(bio);
    ++target->reads;
    const SocketResult<int> received = target->plain->receive(target->socket, buffer, size);
    target->lastError = received.error;
    if (!received.ok()) {
        if (received.error == socket_error::WouldBlock) {
            BIO_set_retry_read(bio);
        }
        return -1;
    }
    int count = received.value;
    if (count > 0 && target->lineFeedMayLead) {
        // Only the very first byte can be that LF; anything else is TLS's.
        target->lineFeedMayLead = false;
        if (buffer[0] == '\n') {
            std::memmove(buffer, buffer + 1, static_cast<std::size_t>(count - 1));
            count -= 1;
            if (count == 0) {
                target->lastError = socket_error::WouldBlock;
                BIO_set_retry_read(bio);
                return -1;
            }
        }
    }
    return count;
}

long socketBioControl(BIO*, int command, long, void*) {
    // Every write goes to the socket at once: there is nothing to flush.
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

int socketBioCreate(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

int socketBioDestroy(BIO* bio) {
    std::unique_ptr<SocketBioTarget> owned(targetOf(bio));
    BIO_set_data(bio, nullptr);
    return 1;
}

bool isAddressText(const std::string& host) {
    std::array<unsigned char, sizeof(in6_addr)> scratch{};
    return ::inet_pton(AF_INET, host.c_str(), scratch.data()) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), scratch.data()) == 1;
}

}  // namespace

TlsContext::TlsContext(const std::string& trustedCertificatesFile) {
    m_context = SSL_CTX_new(TLS_client_method());
    m_socketMethod = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "mivo socket");
    if (m_context == nullptr || m_socketMethod == nullptr) {
        m_problem = "TLS: OpenSSL could not be started";
        return;
    }
    BIO_meth_set_write(m_socketMethod, socketBioWrite);
    BIO_meth_set_read(m_socketMethod, socketBioRead);
    BIO_meth_set_ctrl(m_socketMethod, socketBioControl);
    BIO_meth_set_create(m_socketMethod, socketBioCreate);
    BIO_meth_set_destroy(m_socketMethod, socketBioDestroy);
    SSL_CTX_set_min_proto_version(m_context, TLS1_2_VERSION);
    // Many servers hang up after QUIT without a close_notify: that end reads
    // as the end of the stream, as on a plain connection, where the session
    // tells a conversation cut short from one that is over.
    SSL_CTX_set_options(m_context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    const bool trusted = trustedCertificatesFile.empty()
                             ? SSL_CTX_set_default_verify_paths(m_context) == 1
                             : SSL_CTX_load_verify_locations(
                                   m_context, trustedCertificatesFile.c_str(), nullptr) == 1;
    if (!trusted) {
        m_problem =
            "TLS: the trusted certificates could not be read" +
            (trustedCertificatesFile.empty() ? std::string{} : " from " + trustedCertificatesFile);
    }
}

TlsContext::~TlsContext() {
    SSL_CTX_free(m_context);
    BIO_meth_free(m_socketMethod);
}

SslPointer TlsContext::newConnection(SocketPort& plain, SocketHandle socket,
                                     const TlsSettings& settings) const {
    if (!m_problem.empty()) {
        return nullptr;
    }
    SslPointer ssl(SSL_new(m_context));
    BIO* bio = ssl ? BIO_new(m_socketMethod) : nullptr;
    if (bio == nullptr) {
        return nullptr;
    }
    auto target = std::make_unique<SocketBioTarget>();
    target->plain = &plain;
    target->socket = socket;
    target->lineFeedMayLead = settings.lineFeedMayLead;
    BIO_set_data(bio, target.release());
    SSL_set_bio(ssl.get(), bio, bio);
    SSL_set_connect_state(ssl.get());
    // The transport hands its unsent rest back from a buffer of its own.
    SSL_set_mode(ssl.get(), SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    const std::string& name = settings.serverName;
    const bool address = isAddressText(name);
    // Server names are sent for names only, as addresses may not be.
    // SSL_set_tlsext_host_name without its C cast.
    if (!address && SSL_ctrl(ssl.get(), SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                             const_cast<char*>(name.c_str())) != 1) {
        return nullptr;
    }
    if (!settings.pinnedSha256.empty()) {
        // The pin is compared once the handshake is over; nothing is sent
        // before that.
        SSL_set_verify(ssl.get(), SSL_VERIFY_NONE, nullptr);
        return ssl;
    }
    SSL_set_verify(ssl.get(), SSL_VERIFY_PEER, nullptr);
    X509_VERIFY_PARAM* checks = SSL_get0_param(ssl.get());
    const int named = address ? X509_VERIFY_PARAM_set1_ip_asc(checks, name.c_str())
                              : X509_VERIFY_PARAM_set1_host(checks, name.c_str(), name.size());
    if (named != 1) {
        return nullptr;
    }
    return ssl;
}

int TlsContext::lastSocketError(SSL* ssl) {
    BIO* bio = SSL_get_rbio(ssl);
    const SocketBioTarget* target = bio == nullptr ? nullptr : targetOf(bio);
    return target == nullptr ? 0 : target->lastError;
}

unsigned long TlsContext::socketReads(SSL* ssl) {
    BIO* bio = SSL_get_rbio(ssl);
    const SocketBioTarget* target = bio == nullptr ? nullptr : targetOf(bio);
    return target == nullptr ? 0 : target->reads;
}

std::string certificateFingerprint(X509* certificate) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (certificate == nullptr ||
        X509_digest(certificate, EVP_sha256(), digest.data(), &length) != 1) {
        return {};
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        if (i > 0) {
            text += ':';
        }
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0x0F];
    }
    return text;
}

}  // namespace mivo
