#include "posix/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "posix/Descriptor.h"

namespace mivo {

namespace {

std::string reasonFor(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

}  // namespace

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> makeDirectories(const std::string& directory) {
    for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        const std::string prefix = directory.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) {
            return reasonFor("Cannot create", prefix, errno);
        }
        if (slash == std::string::npos) {
            return std::nullopt;
        }
    }
}

namespace {

bool writeAllTo(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Why a file someone else may have put or changed is not to be taken as
// the user's own; nothing when it is.
std::optional<std::string> untrusted(const std::string& path, const struct stat& status) {
    if (!S_ISREG(status.st_mode)) {
        return path + " is not a regular file";
    }
    if (status.st_uid != ::geteuid()) {
        return path + " belongs to another user";
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return path + " can be changed by other users";
    }
    return std::nullopt;
}

// The file a chain of symbolic links at `path` ends at, whether or not it
// exists yet; `path` itself when it is no link. A save through a link (a
// dotfiles repository, say) replaces the file it names and keeps the link.
std::optional<std::string> linkTarget(std::string path) {
    // As many links as the system follows itself before it gives up.
    constexpr int kMostLinks = 40;
    for (int followed = 0; followed <= kMostLinks; ++followed) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        // No path the system takes is longer; a longer target names nothing.
        std::vector<char> buffer(4096);
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
            return std::nullopt;
        }
        std::string target(buffer.data(), static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : directoryOf(path) + "/" + target;
    }
    return std::nullopt;
}

}  // namespace

StoredText readTextFile(const std::string& path, std::size_t limit, FileOwner owner) {
    StoredText result;
    // Without blocking: a FIFO or a device put where the file should be
    // would otherwise hold the program before its first window.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return result;
        }
        result.state = StoredText::State::Unreadable;
        result.reason = reasonFor("Cannot open", path, errno);
        return result;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        result.state = StoredText::State::Unreadable;
        result.reason = reasonFor("Cannot read", path, errno);
        return result;
    }
    if (owner == FileOwner::TheUserAlone) {
        if (std::optional<std::string> why = untrusted(path, status)) {
            result.state = StoredText::State::Ignored;
            result.reason = std::move(*why);
            return result;
        }
    }
    if (!S_ISREG(status.st_mode)) {
        result.state = StoredText::State::Unreadable;
        result.reason = path + " is not a regular file";
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.state = StoredText::State::Unreadable;
            result.reason = reasonFor("Cannot read", path, errno);
            result.text.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        result.text.append(buffer, static_cast<std::size_t>(got));
        if (result.text.size() > limit) {
            result.state = StoredText::State::Unreadable;
            result.reason = path + " is larger than " + std::to_string(limit) + " bytes";
            result.text.clear();
            return result;
        }
    }
    result.state = StoredText::State::Present;
    return result;
}

std::optional<std::string> replaceTextFile(const std::string& link, std::string_view text) {
    const std::optional<std::string> target = linkTarget(link);
    if (!target) {
        return reasonFor("Cannot follow", link, ELOOP);
    }
    const std::string& path = *target;
    const std::string directory = directoryOf(path);
    if (auto error = makeDirectories(directory)) {
        return error;
    }
    std::string temporary = path + ".XXXXXX";
    // mkstemp creates the file with mode 0600 and never follows a link.
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) {
        return reasonFor("Cannot create", temporary, errno);
    }
    const auto fail = [&temporary](const std::string& what, int error) {
        ::unlink(temporary.c_str());
        return reasonFor(what, temporary, error);
    };
    if (!writeAllTo(file.get(), text)) {
        return fail("Cannot write", errno);
    }
    if (::fsync(file.get()) != 0) {
        return fail("Cannot flush", errno);
    }
    if (file.release() != 0) {
        return fail("Cannot close", errno);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        return fail("Cannot rename", errno);
    }
    // The rename itself is on disk only once the directory is.
    const Descriptor folder(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return std::nullopt;
}

}  // namespace mivo
