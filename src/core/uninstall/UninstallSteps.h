#pragma once
// The uninstaller's four removals: the stored settings, the menu group, the
// start-up entry and the program files. Each removes only files the program
// installed, by name, and a folder only once it is empty; each goes on past
// whatever is missing or cannot be removed.

#include "ports/InstallationPort.h"
#include "ports/SettingsPort.h"
#include "ports/StatePort.h"

namespace mivo {

class UninstallSteps {
public:
    UninstallSteps(SettingsPort& settings, InstallationPort& installation);

    // The settings text and its folder Mivo.exe/Mivo.exe (the outer
    // Mivo.exe folder stays), and the state that removeStateToo() named.
    void removeSettings();
    // The program's remembered state goes with its settings.
    void removeStateToo(StatePort& state) { m_state = &state; }
    // The menu group's entries, then the group's folder when it is empty.
    void removeMenuGroup();
    // The entry that starts the program with the desktop.
    void removeStartupEntry();
    // The program files in the running program's own folder, the manual
    // pages and icons beside that folder when it is a prefix's bin, then the
    // folder when it is empty. Never the folder of a path the settings name.
    void removeProgramFiles();

private:
    SettingsPort& m_settings;
    InstallationPort& m_installation;
    StatePort* m_state = nullptr;
};

}  // namespace mivo
