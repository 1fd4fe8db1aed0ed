#pragma once
// Owns one POSIX file descriptor and closes it when it goes, so that the test
// helpers leak nothing into the children they start or across failed tests.

#include <string_view>

namespace mivo::test {

// Sends all of `bytes` on the socket `fd` (one write where the socket takes
// it, as a server's single write would be), going on after interruptions and
// never raising SIGPIPE. False once the peer is gone.
bool writeAll(int fd, std::string_view bytes);

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : m_descriptor(descriptor) {}
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return m_descriptor; }
    bool isOpen() const { return m_descriptor >= 0; }
    void reset(int descriptor = -1);

private:
    int m_descriptor = -1;
};

}  // namespace mivo::test
