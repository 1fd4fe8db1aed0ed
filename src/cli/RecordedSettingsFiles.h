#pragma once
// The settings files as mivo-check reads them: the desktop program's files,
// plus a note of what loading found in them, so that a run without usable
// settings can say why instead of checking nothing.

#include <optional>
#include <string>

#include "ports/SettingsPort.h"
#include "posix/SettingsFiles.h"

namespace mivo {

class RecordedSettingsFiles : public SettingsPort {
public:
    // `directory` holds the file "Settings"; `legacyFile` is the old file's path.
    RecordedSettingsFiles(std::string directory, std::string legacyFile);

    const std::string& settingsPath() const { return m_files.settingsPath(); }
    const std::string& legacyPath() const { return m_legacyPath; }

    // What the last read of each file found; Absent until it was read.
    const StoredText& settingsFound() const { return m_settingsFound; }
    const StoredText& legacyFileFound() const { return m_legacyFound; }

    // Why the last write failed, or nothing when it succeeded or none was made.
    const std::optional<std::string>& writeFailure() const { return m_writeFailure; }

    StoredText readSettings() override;
    std::optional<std::string> writeSettings(std::string_view text) override;
    void removeSettings() override { m_files.removeSettings(); }
    StoredText readLegacyFile() override;
    // The settings name the desktop program, not mivo-check: a saved text
    // keeps the program path it was loaded with.
    void keepProgramPath(std::string path) { m_keptProgramPath = std::move(path); }
    std::optional<std::string> programPath() override;
    std::string temporaryDirectory() override { return m_files.temporaryDirectory(); }

private:
    SettingsFiles m_files;
    std::string m_legacyPath;
    // Only the state and the reason are kept: the texts hold the passwords.
    StoredText m_settingsFound;
    StoredText m_legacyFound;
    std::optional<std::string> m_writeFailure;
    std::string m_keptProgramPath;
};

}  // namespace mivo
