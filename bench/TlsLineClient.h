#pragma once
// The reference client's line conversation over TLS: a blocking socket with
// OpenSSL on top, the certificate checked against one CA file and the name
// "localhost", lines read from a buffer of whole TLS records.

#include <openssl/ssl.h>

#include <chrono>
#include <memory>
#include <string>

#include "FileDescriptor.h"

namespace mivo::bench {

class TlsLineClient {
public:
    // Connects to 127.0.0.1:`port` and completes the handshake; throws
    // std::runtime_error when either fails.
    TlsLineClient(int port, const std::string& caFile);
    ~TlsLineClient();
    TlsLineClient(const TlsLineClient&) = delete;
    TlsLineClient& operator=(const TlsLineClient&) = delete;

    // The TCP connect and the TLS handshake together.
    std::chrono::steady_clock::duration handshakeTime() const { return m_handshakeTime; }

    std::string readLine();
    void sendLine(const std::string& line);
    std::string command(const std::string& line);

private:
    test::FileDescriptor m_socket;
    SSL_CTX* m_context = nullptr;
    SSL* m_ssl = nullptr;
    std::string m_buffer;
    std::size_t m_start = 0;
    std::chrono::steady_clock::duration m_handshakeTime{};
};

}  // namespace mivo::bench
