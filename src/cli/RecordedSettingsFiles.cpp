#include "RecordedSettingsFiles.h"

#include <utility>

namespace mivo {

namespace {

StoredText withoutText(const StoredText& found) {
    return StoredText{found.state, {}, found.reason};
}

}  // namespace

RecordedSettingsFiles::RecordedSettingsFiles(std::string directory, std::string legacyFile)
    : m_files(std::move(directory), legacyFile), m_legacyPath(std::move(legacyFile)) {}

std::optional<std::string> RecordedSettingsFiles::programPath() {
    if (!m_keptProgramPath.empty()) {
        return m_keptProgramPath;
    }
    return m_files.programPath();
}

StoredText RecordedSettingsFiles::readSettings() {
    StoredText found = m_files.readSettings();
    m_settingsFound = withoutText(found);
    return found;
}

std::optional<std::string> RecordedSettingsFiles::writeSettings(std::string_view text) {
    m_writeFailure = m_files.writeSettings(text);
    return m_writeFailure;
}

StoredText RecordedSettingsFiles::readLegacyFile() {
    StoredText found = m_files.readLegacyFile();
    m_legacyFound = withoutText(found);
    return found;
}

}  // namespace mivo
