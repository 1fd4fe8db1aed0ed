#include "Pop3LineClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace mivo::test {

Pop3LineClient::Pop3LineClient(const std::string& address, int port,
                               std::chrono::milliseconds timeout)
    : m_socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    if (!m_socket.isOpen()) {
        throw std::system_error(errno, std::generic_category(), "socket");
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) {
        throw std::invalid_argument("not a dotted IPv4 address: " + address);
    }
    applyTimeout(timeout);
    if (::connect(m_socket.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        throw std::system_error(errno, std::generic_category(),
                                "connect to " + address + ":" + std::to_string(port));
    }
}

Pop3LineClient::Pop3LineClient(FileDescriptor connected, std::chrono::milliseconds timeout)
    : m_socket(std::move(connected)) {
    applyTimeout(timeout);
}

void Pop3LineClient::applyTimeout(std::chrono::milliseconds timeout) {
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    limit.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    ::setsockopt(m_socket.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(m_socket.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    // Commands are single small writes answered before the next one goes out;
    // Nagle's delay would only add latency to a lock-step conversation.
    const int on = 1;
    ::setsockopt(m_socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

std::string Pop3LineClient::readLine() {
    for (;;) {
        const std::size_t end = m_buffer.find('\n', m_start);
        if (end != std::string::npos) {
            std::size_t stop = end;
            if (stop > m_start && m_buffer[stop - 1] == '\r') {
                --stop;
            }
            std::string line = m_buffer.substr(m_start, stop - m_start);
            m_start = end + 1;
            return line;
        }
        // Drop what was consumed so the buffer stays the size of one read.
        m_buffer.erase(0, m_start);
        m_start = 0;
        char chunk[65536];
        const ssize_t count = ::recv(m_socket.get(), chunk, sizeof chunk, 0);
        if (count > 0) {
            m_buffer.append(chunk, static_cast<std::size_t>(count));
        } else if (count == 0) {
            throw std::runtime_error("the server closed the connection");
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            throw std::runtime_error("the server did not answer in time");
        } else if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "recv");
        }
    }
}

void Pop3LineClient::sendLine(const std::string& line) {
    const std::string bytes = line + "\r\n";
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count =
            ::send(m_socket.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "send");
        }
        sent += static_cast<std::size_t>(count);
    }
}

std::string Pop3LineClient::command(const std::string& line) {
    sendLine(line);
    return readLine();
}

std::vector<std::string> Pop3LineClient::readMultiLine() {
    std::vector<std::string> lines;
    for (;;) {
        std::string line = readLine();
        if (line == ".") {
            return lines;
        }
        if (!line.empty() && line[0] == '.') {
            line.erase(0, 1);
        }
        lines.push_back(std::move(line));
    }
}

}  // namespace mivo::test
