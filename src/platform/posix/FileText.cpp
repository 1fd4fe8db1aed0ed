#include "posix/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mivo {

namespace {

std::string reasonFor(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting what close() says (a late write error shows here).
    int release() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

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

}  // namespace

StoredText readTextFile(const std::string& path, std::size_t limit) {
    StoredText result;
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return result;
        }
        result.state = StoredText::State::Unreadable;
        result.reason = reasonFor("Cannot open", path, errno);
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

std::optional<std::string> replaceTextFile(const std::string& path, std::string_view text) {
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
