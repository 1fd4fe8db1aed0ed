#include "uninstall/UninstallSteps.h"

#include <optional>
#include <string>

#include "uninstall/InstalledFiles.h"

namespace mivo {

UninstallSteps::UninstallSteps(SettingsPort& settings, InstallationPort& installation)
    : m_settings(settings), m_installation(installation) {}

void UninstallSteps::removeSettings() {
    m_settings.removeSettings();
    if (m_state != nullptr) {
        m_state->removeState();
    }
}

void UninstallSteps::removeMenuGroup() {
    const std::optional<std::string> dataHome = m_installation.dataHome();
    if (!dataHome) {
        return;
    }
    for (std::string_view entry : installed::kMenuEntries) {
        m_installation.removeFile(*dataHome, installed::joinPath(installed::kMenuGroup, entry));
    }
    m_installation.removeEmptyDirectory(*dataHome, installed::kMenuGroup);
}

void UninstallSteps::removeStartupEntry() {
    const std::optional<std::string> configHome = m_installation.configHome();
    if (!configHome) {
        return;
    }
    m_installation.removeFile(
        *configHome, installed::joinPath(installed::kAutostartFolder, installed::kAutostartEntry));
}

void UninstallSteps::removeProgramFiles() {
    // The copy that runs is the one to remove: the settings name whichever
    // copy saved them last, a build tree's as readily as the installed one.
    std::optional<std::string> folder;
    if (const std::optional<std::string> running = m_settings.programPath()) {
        folder = installed::programFolder(*running);
    }
    if (!folder) {
        return;
    }
    for (std::string_view file : installed::kProgramFiles) {
        m_installation.removeFile(*folder, file);
    }
    if (const std::optional<std::string> prefix = installed::installationPrefix(*folder)) {
        // The program's help on this system is its manual pages.
        for (std::string_view page : installed::kManualPages) {
            m_installation.removeFile(*prefix, page);
        }
        for (const std::string& icon : installed::iconFiles()) {
            m_installation.removeFile(*prefix, icon);
        }
    }
    const auto [parent, name] = installed::folderAndName(*folder);
    m_installation.removeEmptyDirectory(parent, name);
}

}  // namespace mivo
