#pragma once
// What happens to a new message that matched a rule: the rule's options are
// taken when it matches, its program's file name handed out, the message
// downloaded to that file as it arrives, and the program run once the file
// is written. The session decides when; this holds what and how.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "launch/Launcher.h"
#include "model/MainWindowModel.h"
#include "ports/DownloadPort.h"
#include "report/CheckReports.h"

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
    // with a program hands out the next file number for it.
    void take(int rule);
    bool downloads() const { return m_download; }
    bool deletes() const { return m_delete; }

    // The server has begun sending the message: a file is started for it.
    void startDownload();
    // The message's bytes as they are to be saved.
    void downloadBytes(std::string_view bytes);
    // The message has ended: the file takes the first free name from the
    // number it was meant for on, never replacing another message's file
    // (on disk as well before a delete), or the Log says it could not be
    // saved.
    void finishDownload();
    // Whether the rule's delete may go ahead: a message downloaded to be
    // deleted is only deleted once it is saved.
    bool mayDelete() const { return m_delete && (!m_download || m_saved); }
    // The conversation ended before the message did: nothing is kept.
    void abandonDownload() { m_file.reset(); }

    // Runs the matched rule's program, if it has one and the download it
    // was to work on, if any, was saved.
    void runProgram();

private:
    std::string fileName(std::int32_t number) const;
    bool keepUnderFreeName();

    MainWindowModel& m_window;
    DownloadPort& m_downloads;
    Launcher& m_launcher;
    CheckReports& m_reports;
    bool m_delete = false;
    bool m_download = false;
    std::string m_program;     // the program text of a rule that downloads
    CommandLine m_runCommand;  // what runs, once it may
    std::unique_ptr<DownloadFile> m_file;
    bool m_saved = false;
};

}  // namespace mivo
