#include "posix/PosixProcesses.h"

namespace mivo {

// Placeholders until the launcher lands.
int PosixProcesses::startProgram(const std::vector<std::string>& /*arguments*/,
                                 const std::optional<std::string>& /*workingDirectory*/) {
    return 2;
}

std::string PosixProcesses::browserCommand() {
    return "\"xdg-open\" \"%1\"";
}

}  // namespace mivo
