#include "FileDescriptor.h"

#include <unistd.h>

#include <utility>

namespace mivo::test {

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        reset(std::exchange(other.m_descriptor, -1));
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    reset();
}

void FileDescriptor::reset(int descriptor) {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
    m_descriptor = descriptor;
}

}  // namespace mivo::test
