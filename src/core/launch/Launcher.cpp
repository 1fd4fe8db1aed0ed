#include "launch/Launcher.h"

namespace mivo {

Launcher::Launcher(Log& log, ProcessPort& processes, UiPort& ui)
    : m_log(log), m_processes(processes), m_ui(ui) {}

// Placeholders until the launcher lands: nothing is started yet.
bool Launcher::RunProgram(const std::optional<std::string>& /*programPath*/,
                          const std::string& /*commandLine*/,
                          const std::optional<std::string>& /*workingDirectory*/) {
    return false;
}

void Launcher::OpenWebSite() {}

void Launcher::OpenHelp() {}

}  // namespace mivo
