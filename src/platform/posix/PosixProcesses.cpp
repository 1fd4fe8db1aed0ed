#include "posix/PosixProcesses.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

extern char** environ;

namespace mivo {

namespace {

// The spawn attributes and file actions, released however the start ends.
class SpawnSetup {
public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&m_actions);
        ::posix_spawnattr_init(&m_attributes);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&m_actions);
        ::posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t* actions() { return &m_actions; }
    posix_spawnattr_t* attributes() { return &m_attributes; }

private:
    posix_spawn_file_actions_t m_actions{};
    posix_spawnattr_t m_attributes{};
};

bool isDirectory(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The folder a program path names, when it names one.
std::optional<std::string> folderOf(const std::string& program) {
    const std::size_t slash = program.rfind('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    return slash == 0 ? std::string("/") : program.substr(0, slash);
}

// errno as the codes the Log tells apart: a missing program is "file not
// found" when its folder is there and "path not found" when the folder (or
// the working directory) is not.
int startErrorCode(int error, const std::string& program,
                   const std::optional<std::string>& workingDirectory) {
    if (workingDirectory && !isDirectory(*workingDirectory)) {
        return start_result::kPathNotFound;
    }
    switch (error) {
        case ENOENT: {
            const std::optional<std::string> folder = folderOf(program);
            return folder && !isDirectory(*folder) ? start_result::kPathNotFound
                                                   : start_result::kFileNotFound;
        }
        case ENOTDIR:
            return start_result::kPathNotFound;
        case EACCES:
        case EPERM:
            return start_result::kAccessDenied;
        default:
            return error;
    }
}

// A program started from the desktop: its own session (no terminal, and a
// signal to ours does not reach it), nothing to read, nowhere to write,
// every signal as a freshly started program has it, and none of our open
// files or sockets.
int prepare(SpawnSetup& setup, const std::optional<std::string>& workingDirectory) {
    posix_spawn_file_actions_t* actions = setup.actions();
    if (workingDirectory) {
        if (const int error =
                ::posix_spawn_file_actions_addchdir_np(actions, workingDirectory->c_str())) {
            return error;
        }
    }
    if (const int error =
            ::posix_spawn_file_actions_addopen(actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0)) {
        return error;
    }
    if (const int error =
            ::posix_spawn_file_actions_addopen(actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0)) {
        return error;
    }
    if (const int error =
            ::posix_spawn_file_actions_adddup2(actions, STDOUT_FILENO, STDERR_FILENO)) {
        return error;
    }
    if (const int error = ::posix_spawn_file_actions_addclosefrom_np(actions, STDERR_FILENO + 1)) {
        return error;
    }
    posix_spawnattr_t* attributes = setup.attributes();
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    if (const int error = ::posix_spawnattr_setsigmask(attributes, &noSignals)) {
        return error;
    }
    if (const int error = ::posix_spawnattr_setsigdefault(attributes, &allSignals)) {
        return error;
    }
    return ::posix_spawnattr_setflags(
        attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

}  // namespace

PosixProcesses::PosixProcesses(ChildReaper::ExitWatch exitWatch) : m_reaper(exitWatch) {}

int PosixProcesses::startProgram(const std::vector<std::string>& arguments,
                                 const std::optional<std::string>& workingDirectory) {
    if (arguments.empty()) {
        return start_result::kFileNotFound;
    }
    SpawnSetup setup;
    if (const int error = prepare(setup, workingDirectory)) {
        return error;
    }
    // posix_spawnp takes its argument vector as non-const text.
    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    const int error = ::posix_spawnp(&child, argv.front(), setup.actions(), setup.attributes(),
                                     argv.data(), environ);
    if (error != 0) {
        return startErrorCode(error, arguments.front(), workingDirectory);
    }
    m_reaper.watch(child);
    return start_result::kStarted;
}

bool PosixProcesses::isProgram(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    if (name.find('/') != std::string::npos) {
        return isExecutableFile(name);
    }
    // The folders posix_spawnp looks in: an empty entry is the current
    // folder, and without PATH the system's default.
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/bin:/usr/bin";
    std::size_t from = 0;
    for (;;) {
        const std::size_t colon = folders.find(':', from);
        const std::string folder = folders.substr(from, colon - from);
        if (isExecutableFile((folder.empty() ? std::string(".") : folder) + "/" + name)) {
            return true;
        }
        if (colon == std::string::npos) {
            return false;
        }
        from = colon + 1;
    }
}

std::string PosixProcesses::browserCommand() {
    const char* browser = std::getenv("BROWSER");
    if (browser != nullptr && *browser != '\0') {
        return browser;
    }
    return "\"xdg-open\" \"%1\"";
}

}  // namespace mivo
