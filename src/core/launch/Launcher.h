#pragma once
// Starting something outside the program: a program with a command line, the
// maker's web site in the user's browser, and the program's help. Each
// reports what it does in the Log; none waits for what it started.

#include <optional>
#include <string>

#include "launch/CommandLineWords.h"
#include "log/Log.h"
#include "ports/ProcessPort.h"
#include "ports/UiPort.h"

namespace mivo {

class Launcher {
public:
    Launcher(Log& log, ProcessPort& processes, UiPort& ui);

    // Runs `programPath` (or, when absent, the program the command line
    // names first, a path with blanks typed without quotes included) with
    // the words of `commandLine` as its arguments, in `workingDirectory` or
    // this program's own. Blanks at the end of the program path are not part
    // of its name. Returns whether it started; a failure is reported in the
    // Log only.
    bool RunProgram(const std::optional<std::string>& programPath, const CommandLine& commandLine,
                    const std::optional<std::string>& workingDirectory = std::nullopt);

    // The browser's program with quotes first, then without; when neither
    // starts, the user is told in a message box.
    void OpenWebSite();
    // The help at its contents. Nothing is logged.
    void OpenHelp();

private:
    // Runs a browser command line and logs whether it started.
    bool launchBrowser(const std::string& commandLine, const char* failureLine);

    Log& m_log;
    ProcessPort& m_processes;
    UiPort& m_ui;
};

}  // namespace mivo
