#pragma once
// Owns one POSIX file descriptor and closes it when it goes, so that the test
// helpers leak nothing into the children they start or across failed tests.

namespace mivo::test {

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
