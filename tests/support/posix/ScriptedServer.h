#pragma once
// A POP3-like server on 127.0.0.1 that plays a fixed script per connection
// (greet, expect lines, reply, split writes, close, reset) on its own thread
// and keeps every byte it received, for byte-exact conversation tests.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackPort.h"

namespace mivo::test {

class ScriptedServer {
public:
    // Listens on a loopback port of its own from construction on; nothing is
    // accepted before start().
    explicit ScriptedServer(LoopbackFamily family = LoopbackFamily::Ipv4);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // Script steps, appended to the current connection's script. Connections
    // past the last script play the last one again.
    ScriptedServer& send(std::string bytes);  // one write
    // `bytes` `times` over, written in large pieces without ever holding the
    // whole: a reply of any size at the cost of one piece.
    ScriptedServer& sendRepeated(std::string bytes, std::size_t times);
    // Separate writes with a pause between them, so that they tend to arrive
    // in separate receives (never guaranteed).
    ScriptedServer& sendSplit(std::vector<std::string> pieces,
                              std::chrono::milliseconds pause = std::chrono::milliseconds(30));
    // Reads one line ending in CR LF and compares it without the line end; a
    // mismatch is recorded as a failure and ends the connection.
    ScriptedServer& expectLine(std::string line);
    ScriptedServer& expectBytes(std::size_t count);
    ScriptedServer& pause(std::chrono::milliseconds duration);
    ScriptedServer& close();        // orderly end of the stream
    ScriptedServer& reset();        // abortive close: the client sees a reset
    ScriptedServer& expectClose();  // reads until the client closes
    // Steps after this one are the next connection's script.
    ScriptedServer& nextConnection();

    void start();
    int port() const { return m_listener.port(); }
    std::string hostAndPort() const { return m_listener.hostAndPort(); }

    // Everything below is safe to call while the server runs.
    std::vector<std::string> failures() const;
    std::size_t connections() const;
    std::size_t finishedConnections() const;
    // All bytes received on connection `index` (0-based) so far.
    std::string received(std::size_t index) const;

    // How long one step may wait for the client before it counts as failed.
    static constexpr std::chrono::seconds StepTimeout{10};

private:
    struct Step {
        enum class Kind {
            Send,
            SendRepeated,
            ExpectLine,
            ExpectBytes,
            Pause,
            Close,
            Reset,
            ExpectClose
        } kind;
        std::string bytes;
        std::size_t count = 0;
        std::chrono::milliseconds duration{0};
    };
    using Script = std::vector<Step>;

    void run();
    // Plays the connection's script and closes it.
    void play(FileDescriptor connection, std::size_t index);
    // Reads into `pending` until `done` holds or the step times out.
    bool readUntil(int fd, std::size_t index, std::string& pending, std::size_t wanted,
                   bool untilCrLf, bool untilEnd);
    void fail(std::size_t index, const std::string& what);
    static bool writeRepeated(int fd, const std::string& bytes, std::size_t times);

    LoopbackListener m_listener;
    std::vector<Script> m_scripts{Script{}};
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_failures;
    std::vector<std::string> m_received;
    std::size_t m_finished = 0;
};

}  // namespace mivo::test
