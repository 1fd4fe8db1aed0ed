#pragma once
// Other programs started on Linux: posix_spawnp in a session of their own,
// standard streams on /dev/null, never waited for, reaped when they end.

#include "ports/ProcessPort.h"

namespace mivo {

class PosixProcesses : public ProcessPort {
public:
    int startProgram(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& workingDirectory) override;
    std::string browserCommand() override;
};

}  // namespace mivo
