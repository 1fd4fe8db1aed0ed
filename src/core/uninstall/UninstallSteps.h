#pragma once
// The uninstaller's four removals: the stored settings, the menu group, the
// start-up entry and the program files. Each removes only files the program
// installed, by name, and a folder only once it is empty; each goes on past
// whatever is missing or cannot be removed.

#include <string_view>

#include "ports/InstallationPort.h"
#include "ports/SettingsPort.h"

namespace mivo {

class UninstallSteps {
public:
    UninstallSteps(SettingsPort& settings, InstallationPort& installation);

    // The settings text and its folder Mivo.exe/Mivo.exe; the outer
    // Mivo.exe folder stays.
    void removeSettings();
    // The menu group's entries, then the group's folder when it is empty.
    void removeMenuGroup();
    // The entry that starts the program with the desktop.
    void removeStartupEntry();
    // The program files in the folder of `storedProgramPath` (the settings'
    // EXENAME), the manual pages and icons beside that folder when it is a
    // prefix's bin, then the folder when it is empty. Without a usable
    // stored path, the running program's own folder.
    void removeProgramFiles(std::string_view storedProgramPath);

private:
    SettingsPort& m_settings;
    InstallationPort& m_installation;
};

}  // namespace mivo
