#pragma once
// The settings on Linux: the settings text in the file "Settings" of the
// per-user directory $XDG_CONFIG_HOME/Mivo.exe/Mivo.exe, the old settings file
// "mivo24.txt" in the working directory, and the program's own path.

#include <optional>
#include <string>

#include "ports/SettingsPort.h"

namespace mivo {

class SettingsFiles : public SettingsPort {
public:
    // `directory` holds the file "Settings"; `legacyFile` is the old file's path.
    SettingsFiles(std::string directory, std::string legacyFile);

    // $XDG_CONFIG_HOME/Mivo.exe/Mivo.exe, with ~/.config when the variable is
    // unset or not an absolute path.
    static std::string desktopDirectory();
    static constexpr const char* kLegacyFileName = "mivo24.txt";

    const std::string& settingsPath() const { return m_settingsPath; }

    StoredText readSettings() override;
    std::optional<std::string> writeSettings(std::string_view text) override;
    void removeSettings() override;
    StoredText readLegacyFile() override;
    std::optional<std::string> programPath() override;
    std::string temporaryDirectory() override;

private:
    std::string m_directory;
    std::string m_settingsPath;
    std::string m_legacyFile;
    // Read once: every save names the program, and its file does not move
    // while it runs.
    std::optional<std::optional<std::string>> m_programPath;
};

}  // namespace mivo
