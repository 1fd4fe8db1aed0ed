#include "pop3/MessageActions.h"

#include <algorithm>
#include <optional>

#include "pop3/DownloadNames.h"

namespace mivo {

MessageActions::MessageActions(Parts parts)
    : m_window(parts.window),
      m_downloads(parts.downloads),
      m_launcher(parts.launcher),
      m_reports(parts.reports) {}

void MessageActions::take(int rule) {
    m_delete = m_window.DELn[rule].get();
    m_download = m_window.DLn[rule].get();
    m_runCommand = CommandLine{};
    const std::string& program = m_window.RunFilen[rule].get();
    if (!program.empty()) {
        m_window.uniqueFile = nextFileNumber(m_window.uniqueFile);
        m_runCommand = programCommandLine(
            program, temporaryFileName(m_window.TEMPDIR.get(), m_window.uniqueFile));
    }
}

void MessageActions::startDownload() {
    // Without a program the number is not advanced, so such downloads
    // write the same file, each replacing the one before; but never the one
    // copy left of a deleted message.
    if (m_runCommand.empty() && m_deletedCopy == m_window.uniqueFile) {
        m_window.uniqueFile = nextFileNumber(m_window.uniqueFile);
    }
    m_fileNumber = m_window.uniqueFile;
    m_saved = false;
    m_file = m_downloads.startDownload(temporaryFileName(m_window.TEMPDIR.get(), m_fileNumber));
}

void MessageActions::downloadLine(std::string_view line) {
    if (m_file) {
        // Two searches for one character each: find_first_of would search
        // the set of line ends once for every character of the message.
        m_file->writeLine(line.substr(0, std::min(line.find('\r'), line.find('\n'))));
    }
}

void MessageActions::finishDownload() {
    m_saved = m_file && m_file->keep();
    m_file.reset();
    if (!m_saved) {
        m_reports.log("Could not open file for output (save downloaded file)");
    }
}

void MessageActions::messageDeleted() {
    if (m_download && m_saved) {
        m_deletedCopy = m_fileNumber;
    }
}

void MessageActions::runProgram() {
    if (!m_runCommand.empty()) {
        m_launcher.RunProgram(std::nullopt, m_runCommand);
    }
}

}  // namespace mivo
