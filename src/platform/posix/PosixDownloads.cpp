#include "posix/PosixDownloads.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "posix/Descriptor.h"
#include "posix/FileText.h"

namespace mivo {

namespace {

// Syncs a folder, so that a name just given in it is on disk.
bool syncFolder(const std::string& folder) {
    const Descriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return opened.valid() && ::fsync(opened.get()) == 0;
}

// Gives `from` the name `to` unless `to` exists, as a file, a folder or a
// link, dangling or not.
DownloadFile::Kept moveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return DownloadFile::Kept::Yes;
    }
    if (errno == EEXIST) {
        return DownloadFile::Kept::NameTaken;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return DownloadFile::Kept::Failed;
    }
    // A file system without the flag: a hard link never replaces either.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno == EEXIST ? DownloadFile::Kept::NameTaken : DownloadFile::Kept::Failed;
    }
    ::unlink(from.c_str());
    return DownloadFile::Kept::Yes;
}

class PosixDownloadFile : public DownloadFile {
public:
    PosixDownloadFile(int fd, std::string temporaryPath)
        : m_fd(fd), m_temporaryPath(std::move(temporaryPath)) {
        m_buffer.reserve(PosixDownloads::kBufferSize);
    }

    ~PosixDownloadFile() override {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (!m_kept) {
            ::unlink(m_temporaryPath.c_str());
        }
    }

    PosixDownloadFile(const PosixDownloadFile&) = delete;
    PosixDownloadFile& operator=(const PosixDownloadFile&) = delete;

    void write(std::string_view bytes) override {
        if (m_buffer.size() + bytes.size() > PosixDownloads::kBufferSize) {
            flush();
        }
        if (bytes.size() >= PosixDownloads::kBufferSize) {
            // A piece as large as the buffer goes out without a copy.
            writeOut(bytes);
            return;
        }
        m_buffer.append(bytes);
    }

    Kept keep(const std::string& path, bool durable) override {
        if (m_fd >= 0 && !closeWritten(durable)) {
            return Kept::Failed;
        }
        if (m_failed) {
            return Kept::Failed;
        }
        const Kept kept = moveWithoutReplacing(m_temporaryPath, path);
        if (kept != Kept::Yes) {
            return kept;
        }
        if (durable && !syncFolder(directoryOf(path))) {
            // Not known to be on disk: the message stays on the server, and
            // no copy of uncertain standing is left to be taken for it.
            ::unlink(path.c_str());
            return Kept::Failed;
        }
        m_kept = true;
        return kept;
    }

private:
    bool closeWritten(bool durable) {
        flush();
        if (durable && !m_failed && ::fsync(m_fd) != 0) {
            m_failed = true;
        }
        const int fd = m_fd;
        m_fd = -1;
        // close() reports a write the file system could only refuse late.
        if (::close(fd) != 0) {
            m_failed = true;
        }
        return !m_failed;
    }

    void flush() {
        writeOut(m_buffer);
        m_buffer.clear();
    }

    void writeOut(std::string_view rest) {
        while (!rest.empty() && !m_failed) {
            const ssize_t written = ::write(m_fd, rest.data(), rest.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                m_failed = true;
                break;
            }
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    int m_fd;
    std::string m_temporaryPath;
    std::string m_buffer;
    bool m_failed = false;
    bool m_kept = false;
};

}  // namespace

PosixDownloads::PosixDownloads(std::string ownFolder) : m_ownFolder(std::move(ownFolder)) {}

std::unique_ptr<DownloadFile> PosixDownloads::startDownload(const std::string& path) {
    std::string temporaryPath = path + ".XXXXXX";
    int fd = ::mkostemp(temporaryPath.data(), O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 && errno == ENOENT && directoryOf(path) == m_ownFolder &&
        !makeDirectories(m_ownFolder)) {
        temporaryPath = path + ".XXXXXX";
        fd = ::mkostemp(temporaryPath.data(), O_CLOEXEC | O_NOFOLLOW);
    }
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixDownloadFile>(fd, std::move(temporaryPath));
}

}  // namespace mivo
