#include "posix/SettingsFiles.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "posix/FileText.h"
#include "posix/UserFolders.h"

namespace mivo {

namespace {

// Far above any text the program writes (eight long passwords and three
// rules stay under 10 KiB); a larger file is not a settings text.
constexpr std::size_t kLargestSettingsFile = 1024 * 1024;

}  // namespace

SettingsFiles::SettingsFiles(std::string directory, std::string legacyFile)
    : m_directory(std::move(directory)),
      m_settingsPath(m_directory + "/Settings"),
      m_legacyFile(std::move(legacyFile)) {}

std::string SettingsFiles::desktopDirectory() {
    // Without any home folder: a folder at the root, which a user cannot
    // create, so nothing is stored rather than stored somewhere unexpected.
    return configHome().value_or("/.config") + "/Mivo.exe/Mivo.exe";
}

StoredText SettingsFiles::readSettings() {
    return readTextFile(m_settingsPath, kLargestSettingsFile);
}

std::optional<std::string> SettingsFiles::writeSettings(std::string_view text) {
    return replaceTextFile(m_settingsPath, text);
}

void SettingsFiles::removeSettings() {
    // Only the file this program writes, and its folder once empty: whatever
    // else a user keeps there stays, and so does the outer Mivo.exe folder.
    ::unlink(m_settingsPath.c_str());
    ::rmdir(m_directory.c_str());
}

StoredText SettingsFiles::readLegacyFile() {
    // It is looked for in the working directory, which may be a shared one:
    // a file someone else put there would name their server and accounts.
    return readTextFile(m_legacyFile, kLargestSettingsFile, FileOwner::TheUserAlone);
}

std::optional<std::string> SettingsFiles::programPath() {
    if (!m_programPath) {
        std::vector<char> buffer(4096);
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        m_programPath = length <= 0 || static_cast<std::size_t>(length) >= buffer.size()
                            ? std::nullopt
                            : std::optional<std::string>(
                                  std::string(buffer.data(), static_cast<std::size_t>(length)));
    }
    return *m_programPath;
}

std::string SettingsFiles::temporaryDirectory() {
    return downloadFolder();
}

}  // namespace mivo
