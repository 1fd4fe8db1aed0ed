#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace mivo::test {
namespace {

std::string errorText(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// posix_spawn wants mutable C strings; these keep them alive for the call.
std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::vector<std::string> mergedEnvironment(
    const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string text(*entry);
        bool replaced = false;
        for (const auto& [name, value] : changes) {
            replaced = replaced || text.rfind(name + "=", 0) == 0;
        }
        if (!replaced) {
            result.push_back(std::move(text));
        }
    }
    for (const auto& [name, value] : changes) {
        result.push_back(name + "=" + value);
    }
    return result;
}

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&m_attributes); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};

// With a standard stream of the parent closed, pipe2 may hand out 0, 1 or 2,
// which the child's own redirections would then overwrite.
int aboveStandardStreams(int descriptor) {
    if (descriptor > STDERR_FILENO) {
        return descriptor;
    }
    const int moved = ::fcntl(descriptor, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int error = errno;
    ::close(descriptor);
    if (moved < 0) {
        throw std::runtime_error(errorText("fcntl", error));
    }
    return moved;
}

// Sets up one standard stream: a pipe whose read end the parent keeps, or a file.
void routeStream(SpawnActions& actions, int target, const std::string& file,
                 FileDescriptor& readEnd, FileDescriptor& writeEnd) {
    if (!file.empty()) {
        posix_spawn_file_actions_addopen(actions.get(), target, file.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        return;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error(errorText("pipe2", errno));
    }
    readEnd.reset(aboveStandardStreams(ends[0]));
    writeEnd.reset(aboveStandardStreams(ends[1]));
    posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), target);
}

void* ptraceData(long value) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(value));
}

// VmHWM of a process that still has its memory, e.g. one stopped at its exit.
long peakKibibytesOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

}  // namespace

std::string ChildExit::describe() const {
    if (timedOut) {
        return "killed at its deadline";
    }
    if (exitCode >= 0) {
        return "exit status " + std::to_string(exitCode);
    }
    return "ended by signal " + std::to_string(signal);
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const ChildOptions& options) {
    if (arguments.empty()) {
        throw std::invalid_argument("ChildProcess needs a program");
    }
    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    FileDescriptor outputWriteEnd;
    FileDescriptor errorWriteEnd;
    routeStream(actions, STDOUT_FILENO, options.standardOutputFile, m_outputPipe, outputWriteEnd);
    routeStream(actions, STDERR_FILENO, options.standardErrorFile, m_errorPipe, errorWriteEnd);

    // A group of its own lets a hung child be killed with everything it started.
    SpawnAttributes attributes;
    posix_spawnattr_setpgroup(attributes.get(), 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigdefault(attributes.get(), &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(attributes.get(), &none);
    posix_spawnattr_setflags(
        attributes.get(), POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> argumentTexts = arguments;
    std::vector<std::string> environmentTexts = mergedEnvironment(options.environment);
    std::vector<char*> argv = pointersTo(argumentTexts);
    std::vector<char*> envp = pointersTo(environmentTexts);

    m_started = Clock::now();
    const int error =
        ::posix_spawnp(&m_pid, argv[0], actions.get(), attributes.get(), argv.data(), envp.data());
    if (error != 0) {
        m_pid = -1;
        throw std::runtime_error(errorText("cannot start " + arguments[0], error));
    }
    if (options.measurePeakMemory) {
        m_traced = ::ptrace(PTRACE_SEIZE, m_pid, nullptr, ptraceData(PTRACE_O_TRACEEXIT)) == 0;
    }
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_ended) {
        signalGroup(SIGKILL);
        reap(0);
    }
}

void ChildProcess::signalGroup(int signal) const {
    if (m_pid > 0) {
        // The group can outlive its leader (e.g. a server's workers), so this
        // is sent even after the leader has been reaped.
        ::kill(-m_pid, signal);
    }
}

bool ChildProcess::reap(int options) {
    while (!m_ended) {
        int status = 0;
        rusage usage{};
        pid_t result;
        do {
            result = ::wait4(m_pid, &status, options, &usage);
        } while (result < 0 && errno == EINTR);
        if (result != m_pid) {
            return false;
        }
        if (WIFSTOPPED(status)) {
            // Only a traced child stops here: at its exit, where its memory
            // can still be read, or for a signal that must be passed on.
            int signal = 0;
            if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
                m_exit.peakKibibytes = peakKibibytesOf(m_pid);
            } else if (status >> 16 == 0) {
                signal = WSTOPSIG(status);
            }
            ::ptrace(PTRACE_CONT, m_pid, nullptr, ptraceData(signal));
            continue;
        }
        m_ended = true;
        m_exit.wallTime = Clock::now() - m_started;
        m_exit.usage = usage;
        if (WIFEXITED(status)) {
            m_exit.exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            m_exit.signal = WTERMSIG(status);
        }
    }
    return true;
}

bool ChildProcess::poll() {
    return reap(WNOHANG);
}

void ChildProcess::readAvailable(int timeoutMilliseconds) {
    struct Stream {
        FileDescriptor* pipe;
        std::string* text;
    };
    Stream streams[] = {{&m_outputPipe, &m_standardOutput}, {&m_errorPipe, &m_standardError}};
    std::vector<pollfd> watched;
    std::vector<Stream*> owners;
    for (auto& stream : streams) {
        if (stream.pipe->isOpen()) {
            watched.push_back({stream.pipe->get(), POLLIN, 0});
            owners.push_back(&stream);
        }
    }
    if (watched.empty()) {
        return;
    }
    if (::poll(watched.data(), watched.size(), timeoutMilliseconds) <= 0) {
        return;
    }
    for (std::size_t i = 0; i < watched.size(); ++i) {
        if (watched[i].revents == 0) {
            continue;
        }
        char buffer[65536];
        const ssize_t count = ::read(watched[i].fd, buffer, sizeof buffer);
        if (count > 0) {
            owners[i]->text->append(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
            owners[i]->pipe->reset();
        }
    }
}

bool ChildProcess::readUntil(const std::function<bool()>& done, Clock::time_point deadline) {
    while (!done()) {
        if (!m_outputPipe.isOpen() && !m_errorPipe.isOpen()) {
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        // A traced child stops at its exit with its pipes still open and
        // goes on only when reaped, so it is looked at every millisecond.
        readAvailable(static_cast<int>(std::min<long long>(left.count(), m_traced ? 1 : 100)));
        if (m_traced) {
            reap(WNOHANG);
        }
    }
    return true;
}

ChildExit ChildProcess::wait(Clock::time_point deadline) {
    readUntil([this] { return m_ended; }, deadline);
    while (!reap(WNOHANG)) {
        if (Clock::now() >= deadline) {
            signalGroup(SIGKILL);
            reap(0);
            m_exit.timedOut = true;
            return m_exit;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // What the child wrote last; only something it started could keep the
    // pipes open past the deadline.
    readUntil([] { return false; }, deadline);
    return m_exit;
}

}  // namespace mivo::test
