#pragma once
// A blocking, line-at-a-time POP3 conversation over a loopback socket: the
// client that proves a server works and serves as the lock-step reference in
// benchmarks, or the server end of a connection a test accepted itself.

#include <chrono>
#include <string>
#include <vector>

#include "FileDescriptor.h"

namespace mivo::test {

class Pop3LineClient {
public:
    // Connects to a dotted IPv4 address. A refused or failed connection throws
    // std::system_error with the errno; every read gives up after `timeout`.
    Pop3LineClient(const std::string& address, int port,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Takes over a connected socket, e.g. one returned by accept().
    Pop3LineClient(FileDescriptor connected,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));

    // One line without its CR LF. Throws std::runtime_error when the server
    // closes or stays silent past the time-out.
    std::string readLine();
    void sendLine(const std::string& line);
    // Sends a command and returns the first line of the answer.
    std::string command(const std::string& line);
    // The lines of a multi-line answer after its status line, up to (not
    // including) the lone ".", with the byte-stuffing dot removed.
    std::vector<std::string> readMultiLine();

private:
    void applyTimeout(std::chrono::milliseconds timeout);

    FileDescriptor m_socket;
    std::string m_buffer;
    std::size_t m_start = 0;  // first unread byte of m_buffer
};

}  // namespace mivo::test
