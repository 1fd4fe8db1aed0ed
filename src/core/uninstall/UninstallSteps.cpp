#include "uninstall/UninstallSteps.h"

#include <optional>
#include <string>

#include "uninstall/InstalledFiles.h"

namespace mivo {

namespace {
// A stored path this short names no installed program file.
constexpr std::size_t kShortestProgramPath = 5;
}  // namespace

UninstallSteps::UninstallSteps(SettingsPort& settings, InstallationPort& installation)
    : m_settings(settings), m_installation(installation) {}

void UninstallSteps::removeSettings() {
    m_settings.removeSettings();
}

void UninstallSteps::removeMenuGroup() {
    const std::optional<std::string> dataHome = m_installation.dataHome();
    if (!dataHome) {
        return;
    }
    const std::string group = installed::joinPath(*dataHome, installed::kMenuGroup);
    for (std::string_view entry : installed::kMenuEntries) {
        m_installation.removeFile(installed::joinPath(group, entry));
    }
    m_installation.removeEmptyDirectory(group);
}

void UninstallSteps::removeStartupEntry() {
    const std::optional<std::string> configHome = m_installation.configHome();
    if (!configHome) {
        return;
    }
    m_installation.removeFile(installed::joinPath(
        installed::joinPath(*configHome, installed::kAutostartFolder), installed::kAutostartEntry));
}

void UninstallSteps::removeProgramFiles(std::string_view storedProgramPath) {
    std::optional<std::string> folder;
    if (storedProgramPath.size() >= kShortestProgramPath) {
        folder = installed::programFolder(storedProgramPath);
    }
    if (!folder) {
        // The program that runs the uninstaller is the one to remove; a
        // file that happens to share its name in the working directory is
        // not the program's to delete.
        if (const std::optional<std::string> running = m_settings.programPath()) {
            folder = installed::programFolder(*running);
        }
    }
    if (!folder) {
        return;
    }
    for (std::string_view file : installed::kProgramFiles) {
        m_installation.removeFile(installed::joinPath(*folder, file));
    }
    if (const std::optional<std::string> prefix = installed::installationPrefix(*folder)) {
        // The program's help on this system is its manual pages.
        for (std::string_view page : installed::kManualPages) {
            m_installation.removeFile(installed::joinPath(*prefix, page));
        }
        for (const std::string& icon : installed::iconFiles()) {
            m_installation.removeFile(installed::joinPath(*prefix, icon));
        }
    }
    m_installation.removeEmptyDirectory(*folder);
}

}  // namespace mivo
