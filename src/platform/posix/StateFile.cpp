#include "posix/StateFile.h"

#include <unistd.h>

#include "posix/FileText.h"
#include "posix/UserFolders.h"

namespace mivo {

namespace {

// Counts take a few hundred bytes; the ids of eight mailboxes of 100 000
// messages each some 15 MiB. Far more than any run writes, and small enough
// that a wrong path to some big file is refused at once.
constexpr std::size_t kLargestStateFile = std::size_t{32} * 1024 * 1024;

}  // namespace

std::string StateFile::desktopPath() {
    // Without any home folder: a folder at the root, which a user cannot
    // create, so nothing is kept rather than kept somewhere unexpected.
    return stateHome().value_or("/.local/state") + "/mivo/seen-mail";
}

StoredText StateFile::readState() {
    return readTextFile(m_path, kLargestStateFile);
}

std::optional<std::string> StateFile::writeState(std::string_view text) {
    return replaceTextFile(m_path, text);
}

void StateFile::removeState() {
    ::unlink(m_path.c_str());
    const std::size_t slash = m_path.rfind('/');
    if (slash != std::string::npos && slash != 0) {
        ::rmdir(m_path.substr(0, slash).c_str());
    }
}

}  // namespace mivo
