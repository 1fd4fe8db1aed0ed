#include "LoopbackPort.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <system_error>

namespace mivo::test {

namespace {

[[noreturn]] void failWithErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// A TCP socket bound to 127.0.0.1 on a port the kernel picks.
FileDescriptor bindLoopback() {
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.isOpen()) {
        failWithErrno("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        failWithErrno("bind 127.0.0.1:0");
    }
    return socket;
}

// The same on ::1, for IPv6 only.
FileDescriptor bindIpv6Loopback() {
    FileDescriptor socket(::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.isOpen()) {
        failWithErrno("socket AF_INET6");
    }
    const int on = 1;
    ::setsockopt(socket.get(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        failWithErrno("bind [::1]:0");
    }
    return socket;
}

// Both families keep the port at the same place.
int boundPort(const FileDescriptor& socket) {
    sockaddr_in6 address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        failWithErrno("getsockname");
    }
    return ntohs(address.sin6_port);
}

std::string loopbackHostAndPort(int port) {
    return "127.0.0.1:" + std::to_string(port);
}

}  // namespace

bool hasIpv6Loopback() {
    try {
        bindIpv6Loopback();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

LoopbackListener::LoopbackListener(int backlog, LoopbackFamily family)
    : m_socket(family == LoopbackFamily::Ipv6 ? bindIpv6Loopback() : bindLoopback()),
      m_port(boundPort(m_socket)),
      m_family(family) {
    if (::listen(m_socket.get(), backlog) != 0) {
        failWithErrno("listen on loopback");
    }
}

std::string LoopbackListener::hostAndPort() const {
    return m_family == LoopbackFamily::Ipv6 ? "[::1]:" + std::to_string(m_port)
                                            : loopbackHostAndPort(m_port);
}

FileDescriptor LoopbackListener::accept(std::chrono::milliseconds limit) const {
    pollfd waiting{m_socket.get(), POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(limit.count())) != 1) {
        return FileDescriptor();
    }
    return FileDescriptor(::accept4(m_socket.get(), nullptr, nullptr, SOCK_CLOEXEC));
}

RefusingPort::RefusingPort() : m_socket(bindLoopback()), m_port(boundPort(m_socket)) {}

std::string RefusingPort::hostAndPort() const {
    return loopbackHostAndPort(m_port);
}

int portForAnotherProgram() {
    // The socket closes on return: the program must be able to bind the port.
    return boundPort(bindLoopback());
}

}  // namespace mivo::test
