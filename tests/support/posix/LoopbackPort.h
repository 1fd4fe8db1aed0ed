#pragma once
// The one place tests get a port on 127.0.0.1. A port number alone is only
// free until someone else binds it, so these types keep the port bound for as
// long as the test needs it; only a port handed to another program is not.

#include <chrono>
#include <string>

#include "FileDescriptor.h"

namespace mivo::test {

enum class LoopbackFamily { Ipv4, Ipv6 };  // 127.0.0.1 or ::1

// Whether this machine has the IPv6 loopback address (a container may not).
bool hasIpv6Loopback();

// A listening TCP socket on a port the kernel picked. Connections queue up
// from construction on; the test accepts them when it is ready.
class LoopbackListener {
public:
    // Throws std::system_error when the socket cannot be bound or listen.
    explicit LoopbackListener(int backlog = 16, LoopbackFamily family = LoopbackFamily::Ipv4);

    int port() const { return m_port; }
    std::string hostAndPort() const;
    int descriptor() const { return m_socket.get(); }

    // The next queued connection, or a closed descriptor when none arrived
    // within `limit`.
    FileDescriptor accept(std::chrono::milliseconds limit) const;

private:
    FileDescriptor m_socket;
    int m_port;
    LoopbackFamily m_family;
};

// A port that refuses every connection: bound, so no other socket on the
// machine can take it, but never listening.
class RefusingPort {
public:
    RefusingPort();

    int port() const { return m_port; }
    std::string hostAndPort() const;

private:
    FileDescriptor m_socket;
    int m_port;
};

// A port number for a program that binds it itself (a server started as a
// child). Nothing holds the port once this returns, so another process may
// take it before the program does. Callers cover that window: they restart
// the program on a new number when its bind fails with "address in use",
// and they make sure that what answers on the port is their own program.
int portForAnotherProgram();

}  // namespace mivo::test
