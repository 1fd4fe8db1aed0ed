#pragma once
// A program started by a test or benchmark: its output read as it comes, its
// end awaited with a deadline, and what it cost taken from the kernel's account.

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "FileDescriptor.h"

namespace mivo::test {

struct ChildOptions {
    // An empty name means the stream is captured through a pipe; otherwise it
    // is written to that file (e.g. "/dev/null"), appending.
    std::string standardOutputFile;
    std::string standardErrorFile;
    // Added to (or replacing in) the environment the child inherits.
    std::vector<std::pair<std::string, std::string>> environment;
    // Stops the child at its exit (ptrace) to read its own peak memory: the
    // rusage figure of a spawned child also counts the parent it came from.
    bool measurePeakMemory = false;
};

struct ChildExit {
    bool timedOut = false;  // killed by wait() at its deadline
    int exitCode = -1;      // -1 when ended by a signal
    int signal = 0;
    std::chrono::steady_clock::duration wallTime{};
    rusage usage{};           // the child's own account, from wait4
    long peakKibibytes = -1;  // the child's high-water mark, when it could be measured

    std::string describe() const;
};

class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;

    // Starts arguments[0] (looked up in PATH when it has no slash) in a
    // process group of its own, standard input on /dev/null. Throws
    // std::runtime_error when it cannot be started.
    explicit ChildProcess(const std::vector<std::string>& arguments,
                          const ChildOptions& options = {});
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Kills the whole group when it is still running.
    ~ChildProcess();

    pid_t pid() const { return m_pid; }

    // Reads the captured streams until `done` holds (checked after every
    // read), both streams are closed, or the deadline passes. Returns
    // whether `done` held.
    bool readUntil(const std::function<bool()>& done, Clock::time_point deadline);

    // Reads the rest of the output and reaps the child; at the deadline the
    // process group is killed and the result says so.
    ChildExit wait(Clock::time_point deadline);

    // Reaps the child if it has ended, without waiting. Returns whether it had.
    bool poll();
    bool hasEnded() const { return m_ended; }
    const ChildExit& exitStatus() const { return m_exit; }

    // Signals the child and whatever it started in its group.
    void signalGroup(int signal) const;

    const std::string& standardOutput() const { return m_standardOutput; }
    const std::string& standardError() const { return m_standardError; }

private:
    bool reap(int options);
    void readAvailable(int timeoutMilliseconds);

    pid_t m_pid = -1;
    Clock::time_point m_started;
    bool m_ended = false;
    bool m_traced = false;
    ChildExit m_exit;
    FileDescriptor m_outputPipe;
    FileDescriptor m_errorPipe;
    std::string m_standardOutput;
    std::string m_standardError;
};

}  // namespace mivo::test
