#include "launch/Launcher.h"

#include <vector>

#include "launch/BrowserCommandLines.h"
#include "launch/CommandLineWords.h"

namespace mivo {

namespace {

// What the Log says after "CreateProcess Failed err"; other codes say nothing
// more.
const char* startFailureReason(int error) {
    switch (error) {
        case start_result::kPathNotFound:
            return "Path Not Found";
        case start_result::kFileNotFound:
            return "File Not Found";
        case start_result::kAccessDenied:
            return "Access Denied";
        default:
            return nullptr;
    }
}

// File names where programs have always been given never end in blanks, and
// the e-mail program's setting reaches us with three appended.
std::string withoutTrailingBlanks(std::string path) {
    const std::size_t end = path.find_last_not_of(" \t");
    path.resize(end == std::string::npos ? 0 : end + 1);
    return path;
}

}  // namespace

Launcher::Launcher(Log& log, ProcessPort& processes, UiPort& ui)
    : m_log(log), m_processes(processes), m_ui(ui) {}

bool Launcher::RunProgram(const std::optional<std::string>& programPath,
                          const CommandLine& commandLine,
                          const std::optional<std::string>& workingDirectory) {
    std::vector<std::string> arguments;
    if (programPath) {
        arguments.push_back(withoutTrailingBlanks(*programPath));
        for (std::string& word : commandLineWords(commandLine)) {
            arguments.push_back(std::move(word));
        }
    } else {
        arguments = programArguments(
            commandLine, [this](const std::string& name) { return m_processes.isProgram(name); });
    }
    const int result = arguments.empty() ? start_result::kFileNotFound
                                         : m_processes.startProgram(arguments, workingDirectory);
    if (result == start_result::kStarted) {
        return true;
    }
    m_log.append("CreateProcess Failed err");
    if (const char* reason = startFailureReason(result)) {
        m_log.append(reason);
    }
    return false;
}

bool Launcher::launchBrowser(const std::string& commandLine, const char* failureLine) {
    const bool started = RunProgram(std::nullopt, commandLine);
    m_log.append(started ? "Successfully launched " : failureLine);
    m_log.append(commandLine);
    return started;
}

void Launcher::OpenWebSite() {
    const std::string browserCommand = limitedBrowserText(m_processes.browserCommand());
    m_log.append("proggie to launch = ");
    m_log.append(browserCommand);
    const std::string first = firstBrowserCommandLine(quotedBrowserPath(browserCommand));
    if (launchBrowser(first, "Failed to launch ")) {
        return;
    }
    const std::string second = secondBrowserCommandLine(first);
    m_log.append(":-( failed to launch, trying without \"'s : ");
    m_log.append(second);
    if (launchBrowser(second, "Failed Miserably :-( ")) {
        return;
    }
    m_ui.showMessageBox(std::string(kBrowserFailureTitle), browserFailureMessage(second));
}

void Launcher::OpenHelp() {
    m_ui.showHelp();
}

}  // namespace mivo
