#include "ScriptedServer.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "FileDescriptor.h"

namespace mivo::test {

namespace {

// How often a wait looks at the stop flag.
constexpr std::chrono::milliseconds PollSlice{100};

}  // namespace

ScriptedServer::ScriptedServer(LoopbackFamily family) : m_listener(16, family) {}

ScriptedServer::~ScriptedServer() {
    m_stopping = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

ScriptedServer& ScriptedServer::send(std::string bytes) {
    m_scripts.back().push_back({Step::Kind::Send, std::move(bytes)});
    return *this;
}

ScriptedServer& ScriptedServer::sendRepeated(std::string bytes, std::size_t times) {
    m_scripts.back().push_back({Step::Kind::SendRepeated, std::move(bytes), times});
    return *this;
}

ScriptedServer& ScriptedServer::sendSplit(std::vector<std::string> pieces,
                                          std::chrono::milliseconds pauseBetween) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            pause(pauseBetween);
        }
        send(std::move(pieces[i]));
    }
    return *this;
}

ScriptedServer& ScriptedServer::expectLine(std::string line) {
    m_scripts.back().push_back({Step::Kind::ExpectLine, std::move(line)});
    return *this;
}

ScriptedServer& ScriptedServer::expectBytes(std::size_t count) {
    m_scripts.back().push_back({Step::Kind::ExpectBytes, {}, count});
    return *this;
}

ScriptedServer& ScriptedServer::pause(std::chrono::milliseconds duration) {
    m_scripts.back().push_back({Step::Kind::Pause, {}, 0, duration});
    return *this;
}

ScriptedServer& ScriptedServer::close() {
    m_scripts.back().push_back({Step::Kind::Close, {}});
    return *this;
}

ScriptedServer& ScriptedServer::reset() {
    m_scripts.back().push_back({Step::Kind::Reset, {}});
    return *this;
}

ScriptedServer& ScriptedServer::expectClose() {
    m_scripts.back().push_back({Step::Kind::ExpectClose, {}});
    return *this;
}

ScriptedServer& ScriptedServer::nextConnection() {
    m_scripts.emplace_back();
    return *this;
}

void ScriptedServer::start() {
    m_thread = std::thread([this] { run(); });
}

std::vector<std::string> ScriptedServer::failures() const {
    const std::lock_guard lock(m_mutex);
    return m_failures;
}

std::size_t ScriptedServer::connections() const {
    const std::lock_guard lock(m_mutex);
    return m_received.size();
}

std::size_t ScriptedServer::finishedConnections() const {
    const std::lock_guard lock(m_mutex);
    return m_finished;
}

std::string ScriptedServer::received(std::size_t index) const {
    const std::lock_guard lock(m_mutex);
    return index < m_received.size() ? m_received[index] : std::string();
}

void ScriptedServer::fail(std::size_t index, const std::string& what) {
    const std::lock_guard lock(m_mutex);
    m_failures.push_back("connection " + std::to_string(index) + ": " + what);
}

void ScriptedServer::run() {
    while (!m_stopping) {
        FileDescriptor connection = m_listener.accept(PollSlice);
        if (!connection.isOpen()) {
            continue;
        }
        std::size_t index = 0;
        {
            const std::lock_guard lock(m_mutex);
            index = m_received.size();
            m_received.emplace_back();
        }
        play(std::move(connection), index);
        const std::lock_guard lock(m_mutex);
        ++m_finished;
    }
}

void ScriptedServer::play(FileDescriptor connection, std::size_t index) {
    const int fd = connection.get();
    const Script& script = m_scripts[std::min(index, m_scripts.size() - 1)];
    std::string pending;  // received and not yet consumed by a step
    bool open = true;
    for (const Step& step : script) {
        if (!open || m_stopping) {
            break;
        }
        switch (step.kind) {
            case Step::Kind::Send:
                if (!writeAll(fd, step.bytes)) {
                    fail(index, "write failed: " + std::string(std::strerror(errno)));
                    open = false;
                }
                break;
            case Step::Kind::SendRepeated:
                if (!writeRepeated(fd, step.bytes, step.count)) {
                    fail(index, "write failed: " + std::string(std::strerror(errno)));
                    open = false;
                }
                break;
            case Step::Kind::ExpectLine: {
                if (!readUntil(fd, index, pending, 0, true, false)) {
                    fail(index, "no line \"" + step.bytes + "\" (got \"" + pending + "\")");
                    open = false;
                    break;
                }
                const std::size_t end = pending.find("\r\n");
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 2);
                if (line != step.bytes) {
                    fail(index, "expected \"" + step.bytes + "\", got \"" + line + "\"");
                    open = false;
                }
                break;
            }
            case Step::Kind::ExpectBytes:
                if (!readUntil(fd, index, pending, step.count, false, false)) {
                    fail(index, "expected " + std::to_string(step.count) + " bytes, got " +
                                    std::to_string(pending.size()));
                    open = false;
                    break;
                }
                pending.erase(0, step.count);
                break;
            case Step::Kind::Pause:
                std::this_thread::sleep_for(step.duration);
                break;
            case Step::Kind::Close:
                open = false;
                break;
            case Step::Kind::Reset: {
                const linger abortive{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
                open = false;
                break;
            }
            case Step::Kind::ExpectClose:
                if (!readUntil(fd, index, pending, 0, false, true)) {
                    fail(index, "the client did not close");
                }
                open = false;
                break;
        }
    }
}

bool ScriptedServer::writeRepeated(int fd, const std::string& bytes, std::size_t times) {
    constexpr std::size_t kPiece = 256 * 1024;
    const std::size_t perPiece =
        std::max<std::size_t>(1, kPiece / std::max<std::size_t>(1, bytes.size()));
    std::string piece;
    for (std::size_t i = 0; i < std::min(perPiece, times); ++i) {
        piece += bytes;
    }
    for (std::size_t left = times; left > 0;) {
        const std::size_t now = std::min(perPiece, left);
        if (!writeAll(fd, std::string_view(piece).substr(0, now * bytes.size()))) {
            return false;
        }
        left -= now;
    }
    return true;
}

bool ScriptedServer::readUntil(int fd, std::size_t index, std::string& pending, std::size_t wanted,
                               bool untilCrLf, bool untilEnd) {
    const auto deadline = std::chrono::steady_clock::now() + StepTimeout;
    auto done = [&] {
        if (untilCrLf) {
            return pending.find("\r\n") != std::string::npos;
        }
        return !untilEnd && pending.size() >= wanted;
    };
    std::string buffer(65536, '\0');
    while (!done()) {
        if (m_stopping || std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(PollSlice.count())) <= 0) {
            continue;
        }
        const ssize_t count = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return untilEnd;
        }
        pending.append(buffer.data(), static_cast<std::size_t>(count));
        const std::lock_guard lock(m_mutex);
        m_received[index].append(buffer.data(), static_cast<std::size_t>(count));
    }
    return true;
}

}  // namespace mivo::test
