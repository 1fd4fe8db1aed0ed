#pragma once
// Other programs started on Linux: posix_spawnp in a session of their own,
// standard streams on /dev/null, nothing else of ours inherited, never
// waited for, collected when they end.

#include "ports/ProcessPort.h"
#include "qt/ChildReaper.h"

namespace mivo {

class PosixProcesses : public ProcessPort {
public:
    explicit PosixProcesses(
        ChildReaper::ExitWatch exitWatch = ChildReaper::ExitWatch::ProcessDescriptor);

    int startProgram(const std::vector<std::string>& arguments,
                     const std::optional<std::string>& workingDirectory) override;
    bool isProgram(const std::string& name) override;
    // `$BROWSER` when it is set and not empty, else the desktop's opener.
    std::string browserCommand() override;

    const ChildReaper& reaper() const { return m_reaper; }

private:
    ChildReaper m_reaper;
};

}  // namespace mivo
