#pragma once
// Starting something outside the program: a program with a command line, the
// maker's web site in the user's browser, and the program's help. Each
// reports what it does in the Log; none waits for what it started.

#include <optional>
#include <string>

#include "log/Log.h"
#include "ports/ProcessPort.h"
#include "ports/UiPort.h"

namespace mivo {

class Launcher {
public:
    Launcher(Log& log, ProcessPort& processes, UiPort& ui);

    // Runs `programPath` (or, when absent, the program the command line
    // names first) with `commandLine`, in `workingDirectory` or this
    // program's own. Returns whether it started.
    bool RunProgram(const std::optional<std::string>& programPath, const std::string& commandLine,
                    const std::optional<std::string>& workingDirectory = std::nullopt);

    void OpenWebSite();
    void OpenHelp();

private:
    Log& m_log;
    ProcessPort& m_processes;
    UiPort& m_ui;
};

}  // namespace mivo
