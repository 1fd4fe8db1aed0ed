#include "TlsLineClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <array>
#include <stdexcept>

namespace mivo::bench {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("TLS reference client: " + what);
}

}  // namespace

TlsLineClient::TlsLineClient(int port, const std::string& caFile) {
    const auto start = std::chrono::steady_clock::now();
    m_socket = test::FileDescriptor(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (!m_socket.isOpen() ||
        ::connect(m_socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        fail("cannot connect to port " + std::to_string(port));
    }
    // Commands are answered before the next one: no reason to hold one back.
    const int on = 1;
    ::setsockopt(m_socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_context = SSL_CTX_new(TLS_client_method());
    if (m_context == nullptr ||
        SSL_CTX_load_verify_locations(m_context, caFile.c_str(), nullptr) != 1) {
        fail("cannot load " + caFile);
    }
    SSL_CTX_set_verify(m_context, SSL_VERIFY_PEER, nullptr);
    m_ssl = SSL_new(m_context);
    if (m_ssl == nullptr || SSL_set_fd(m_ssl, m_socket.get()) != 1 ||
        SSL_set1_host(m_ssl, "localhost") != 1 ||
        SSL_ctrl(m_ssl, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                 const_cast<char*>("localhost")) != 1 ||
        SSL_connect(m_ssl) != 1) {
        fail("the handshake failed");
    }
    m_handshakeTime = std::chrono::steady_clock::now() - start;
}

TlsLineClient::~TlsLineClient() {
    SSL_free(m_ssl);
    SSL_CTX_free(m_context);
}

std::string TlsLineClient::readLine() {
    for (;;) {
        const std::size_t end = m_buffer.find("\r\n", m_start);
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(m_start, end - m_start);
            m_start = end + 2;
            return line;
        }
        m_buffer.erase(0, m_start);
        m_start = 0;
        std::array<char, 16384> chunk{};
        const int count = SSL_read(m_ssl, chunk.data(), static_cast<int>(chunk.size()));
        if (count <= 0) {
            fail("the server closed the connection");
        }
        m_buffer.append(chunk.data(), static_cast<std::size_t>(count));
    }
}

void TlsLineClient::sendLine(const std::string& line) {
    const std::string bytes = line + "\r\n";
    if (SSL_write(m_ssl, bytes.data(), static_cast<int>(bytes.size())) !=
        static_cast<int>(bytes.size())) {
        fail("cannot send");
    }
}

std::string TlsLineClient::command(const std::string& line) {
    sendLine(line);
    return readLine();
}

}  // namespace mivo::bench
