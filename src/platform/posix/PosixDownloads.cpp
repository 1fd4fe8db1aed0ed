#include "posix/PosixDownloads.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace mivo {

namespace {

class PosixDownloadFile : public DownloadFile {
public:
    PosixDownloadFile(int fd, std::string temporaryPath, std::string path)
        : m_fd(fd), m_temporaryPath(std::move(temporaryPath)), m_path(std::move(path)) {
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

    void writeLine(std::string_view line) override {
        if (m_failed) {
            return;
        }
        if (m_buffer.size() + line.size() + 1 > PosixDownloads::kBufferSize) {
            flush();
        }
        m_buffer.append(line).push_back('\n');
    }

    bool keep() override {
        flush();
        const int fd = m_fd;
        m_fd = -1;
        // close() reports a write the file system could only refuse late.
        if (::close(fd) != 0 || m_failed) {
            return false;
        }
        m_kept = ::rename(m_temporaryPath.c_str(), m_path.c_str()) == 0;
        return m_kept;
    }

private:
    void flush() {
        std::string_view rest = m_buffer;
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
        m_buffer.clear();
    }

    int m_fd;
    std::string m_temporaryPath;
    std::string m_path;
    std::string m_buffer;
    bool m_failed = false;
    bool m_kept = false;
};

}  // namespace

std::unique_ptr<DownloadFile> PosixDownloads::startDownload(const std::string& path) {
    std::string temporaryPath = path + ".XXXXXX";
    const int fd = ::mkostemp(temporaryPath.data(), O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixDownloadFile>(fd, std::move(temporaryPath), path);
}

}  // namespace mivo
