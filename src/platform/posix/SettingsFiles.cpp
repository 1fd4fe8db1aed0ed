#include "posix/SettingsFiles.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "posix/FileText.h"

namespace mivo {

namespace {

// Far above any text the program writes (eight long passwords and three
// rules stay under 10 KiB); a larger file is not a settings text.
constexpr std::size_t kLargestSettingsFile = 1024 * 1024;

std::string absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

std::string homeDirectory() {
    std::string home = absoluteVariable("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir) {
            home = user->pw_dir;
        }
    }
    return home;
}

}  // namespace

SettingsFiles::SettingsFiles(std::string directory, std::string legacyFile)
    : m_settingsPath(std::move(directory) + "/Settings"), m_legacyFile(std::move(legacyFile)) {}

std::string SettingsFiles::desktopDirectory() {
    std::string base = absoluteVariable("XDG_CONFIG_HOME");
    if (base.empty()) {
        base = homeDirectory() + "/.config";
    }
    return base + "/Mivo.exe/Mivo.exe";
}

StoredText SettingsFiles::readSettings() {
    return readTextFile(m_settingsPath, kLargestSettingsFile);
}

std::optional<std::string> SettingsFiles::writeSettings(std::string_view text) {
    return replaceTextFile(m_settingsPath, text);
}

StoredText SettingsFiles::readLegacyFile() {
    return readTextFile(m_legacyFile, kLargestSettingsFile);
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
    const std::string fromEnvironment = absoluteVariable("TMPDIR");
    return fromEnvironment.empty() ? "/tmp" : fromEnvironment;
}

}  // namespace mivo
