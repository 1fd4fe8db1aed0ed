#pragma once
// What happens to a new message that matched a rule: the rule's options are
// taken when it matches, its program's file name handed out, the message
// downloaded to that file as its lines arrive, and the program run once the
// file is written. The session decides when; this holds what and how.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cycle/CheckReports.h"
#include "launch/Launcher.h"
#include "mainwindow/MainWindowModel.h"
#include "ports/DownloadPort.h"

namespace mivo {

class MessageActions {
public:
    struct Parts {
        MainWindowModel& window;  // the rules, TEMPDIR and uniqueFile
        DownloadPort& downloads;
        Launcher& launcher;
        CheckReports& reports;
    };

    explicit MessageActions(Parts parts);

    // The message matched rule `rule` (1..3): its options act on it. A rule
    // with a program hands out the next file number and names it to the
    // program.
    void take(int rule);
    bool downloads() const { return m_download; }
    bool deletes() const { return m_delete; }

    // The server has begun sending the message: a file is started for it
    // under the current file number, or the next one when the current
    // one's file holds a message deleted from the server.
    void startDownload();
    // One line of the message, the final "." included, as received.
    void downloadLine(std::string_view line);
    // The final "." has come: the file takes its name, or the Log says it
    // could not be saved.
    void finishDownload();
    // Whether the rule's delete may go ahead: a message downloaded to be
    // deleted is only deleted once it is saved.
    bool mayDelete() const { return m_delete && (!m_download || m_saved); }
    // The server has accepted the DELE.
    void messageDeleted();
    // The conversation ended before the message did: nothing is kept.
    void abandonDownload() { m_file.reset(); }

    // Runs the matched rule's program, if it has one.
    void runProgram();

private:
    MainWindowModel& m_window;
    DownloadPort& m_downloads;
    Launcher& m_launcher;
    CheckReports& m_reports;
    bool m_delete = false;
    bool m_download = false;
    CommandLine m_runCommand;
    std::unique_ptr<DownloadFile> m_file;
    std::int32_t m_fileNumber = 0;  // of the download under way or last made
    bool m_saved = false;
    // The number whose file is the only copy of a message this run deleted.
    std::optional<std::int32_t> m_deletedCopy;
};

}  // namespace mivo
