#include "pop3/MessageActions.h"

#include <optional>

#include "pop3/DownloadNames.h"

namespace mivo {

namespace {

// Names tried, counting on from the one a download was meant for, before
// it is given up as not saved.
constexpr int kNamesTried = 65536;

}  // namespace

MessageActions::MessageActions(Parts parts)
    : m_window(parts.window),
      m_downloads(parts.downloads),
      m_launcher(parts.launcher),
      m_reports(parts.reports) {}

std::string MessageActions::fileName(std::int32_t number) const {
    const std::string& chosen = m_window.TEMPDIR.get();
    return temporaryFileName(chosen.empty() ? m_window.defaultTempDir : chosen, number);
}

void MessageActions::take(int rule) {
    m_delete = m_window.DELn[rule].get();
    m_download = m_window.DLn[rule].get();
    m_program.clear();
    m_runCommand = CommandLine{};
    m_saved = false;
    const std::string& program = m_window.RunFilen[rule].get();
    if (program.empty()) {
        return;
    }
    m_window.uniqueFile = nextFileNumber(m_window.uniqueFile);
    if (m_download) {
        // Named once the file has its name, which may be a later number.
        m_program = program;
    } else {
        m_runCommand = programCommandLine(program, fileName(m_window.uniqueFile));
    }
}

void MessageActions::startDownload() {
    m_saved = false;
    m_file = m_downloads.startDownload(fileName(m_window.uniqueFile));
}

void MessageActions::downloadBytes(std::string_view bytes) {
    if (m_file && !bytes.empty()) {
        m_file->write(bytes);
    }
}

void MessageActions::finishDownload() {
    m_saved = m_file && keepUnderFreeName();
    m_file.reset();
    if (!m_saved) {
        m_reports.log("Could not open file for output (save downloaded file)");
        if (!m_program.empty()) {
            // Whatever file has that name now is not this message.
            m_reports.log("Program not run, the downloaded email was not saved");
        }
        return;
    }
    if (!m_program.empty()) {
        m_runCommand = programCommandLine(m_program, fileName(m_window.uniqueFile));
    }
}

// A file of that name may hold another message, from an earlier run or put
// there by someone else: it is never replaced, the next number is taken.
bool MessageActions::keepUnderFreeName() {
    for (int tried = 0; tried < kNamesTried; ++tried) {
        switch (m_file->keep(fileName(m_window.uniqueFile), m_delete)) {
            case DownloadFile::Kept::Yes:
                return true;
            case DownloadFile::Kept::Failed:
                return false;
            case DownloadFile::Kept::NameTaken:
                m_window.uniqueFile = nextFileNumber(m_window.uniqueFile);
                break;
        }
    }
    return false;
}

void MessageActions::runProgram() {
    if (!m_runCommand.empty()) {
        m_launcher.RunProgram(std::nullopt, m_runCommand);
    }
}

}  // namespace mivo
