#include "DelayLineProxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <deque>
#include <list>
#include <stdexcept>
#include <utility>
#include <vector>

#include "FileDescriptor.h"

namespace mivo::bench {

namespace {

using Clock = std::chrono::steady_clock;
using test::FileDescriptor;

constexpr std::chrono::milliseconds kPollSlice{100};  // how often the stop flag is looked at

// Bytes read from one side, to be written to the other once due. An empty
// chunk is the end of the stream.
struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction of a connection.
struct Line {
    int from;
    int to;
    std::deque<Chunk> chunks;
    std::size_t written = 0;  // of the first chunk
    bool readEnded = false;
    bool writeEnded = false;
};

struct Connection {
    FileDescriptor client;
    FileDescriptor server;
    std::array<Line, 2> lines;
    bool broken = false;

    bool over() const { return broken || (lines[0].writeEnded && lines[1].writeEnded); }
};

void setUp(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

FileDescriptor connectTo(int port) {
    FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (!fd.isOpen() ||
        ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    return fd;
}

void readInto(Line& line, Clock::duration delay, bool& broken) {
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t got = ::recv(line.from, buffer.data(), buffer.size(), 0);
        if (got > 0) {
            line.chunks.push_back(
                {Clock::now() + delay, std::string(buffer.data(), static_cast<std::size_t>(got))});
            continue;
        }
        if (got == 0) {
            line.readEnded = true;
            line.chunks.push_back({Clock::now() + delay, {}});
        } else if (errno != EAGAIN && errno != EINTR) {
            broken = true;
        }
        return;
    }
}

// Writes what is due, as much as the socket takes.
void writeDue(Line& line, bool& broken) {
    const Clock::time_point now = Clock::now();
    while (!line.chunks.empty() && line.chunks.front().due <= now) {
        Chunk& chunk = line.chunks.front();
        if (chunk.bytes.empty()) {
            ::shutdown(line.to, SHUT_WR);
            line.writeEnded = true;
            line.chunks.clear();
            return;
        }
        const ssize_t sent = ::send(line.to, chunk.bytes.data() + line.written,
                                    chunk.bytes.size() - line.written, MSG_NOSIGNAL);
        if (sent < 0) {
            broken = errno != EAGAIN && errno != EINTR;
            return;
        }
        line.written += static_cast<std::size_t>(sent);
        if (line.written < chunk.bytes.size()) {
            return;
        }
        line.chunks.pop_front();
        line.written = 0;
    }
}

}  // namespace

DelayLineProxy::DelayLineProxy(int targetPort, std::chrono::milliseconds delayEachWay)
    : m_targetPort(targetPort), m_delay(delayEachWay) {
    m_thread = std::thread([this] { run(); });
}

DelayLineProxy::~DelayLineProxy() {
    m_stopping = true;
    m_thread.join();
}

void DelayLineProxy::run() {
    std::list<Connection> connections;
    std::vector<pollfd> waits;
    while (!m_stopping) {
        // What is to wait for: new connections, bytes to read on every open
        // side, room to write where something is due, and the next due time.
        waits.assign(1, pollfd{m_listener.descriptor(), POLLIN, 0});
        Clock::time_point wake = Clock::now() + kPollSlice;
        for (Connection& connection : connections) {
            for (Line& line : connection.lines) {
                if (!line.readEnded) {
                    waits.push_back({line.from, POLLIN, 0});
                }
                if (line.chunks.empty()) {
                    continue;
                }
                if (line.chunks.front().due <= Clock::now()) {
                    waits.push_back({line.to, POLLOUT, 0});
                } else {
                    wake = std::min(wake, line.chunks.front().due);
                }
            }
        }
        const auto timeout =
            std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()).count();
        ::poll(waits.data(), waits.size(), static_cast<int>(std::max<long>(timeout, 0)));

        if (waits[0].revents & POLLIN) {
            FileDescriptor client(
                ::accept4(m_listener.descriptor(), nullptr, nullptr, SOCK_CLOEXEC));
            FileDescriptor server = connectTo(m_targetPort);
            if (client.isOpen() && server.isOpen()) {
                setUp(client.get());
                setUp(server.get());
                Connection& added = connections.emplace_back();
                added.lines[0] = Line{client.get(), server.get(), {}, 0, false, false};
                added.lines[1] = Line{server.get(), client.get(), {}, 0, false, false};
                added.client = std::move(client);
                added.server = std::move(server);
            }
        }
        for (Connection& connection : connections) {
            for (Line& line : connection.lines) {
                if (!line.readEnded) {
                    readInto(line, m_delay, connection.broken);
                }
                writeDue(line, connection.broken);
            }
        }
        connections.remove_if([](const Connection& connection) { return connection.over(); });
    }
}

}  // namespace mivo::bench
