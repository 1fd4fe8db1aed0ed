#pragma once
// One run of mivo-check: builds the program on the Linux adapters, gives it
// the accounts of the settings or of the command line and presses Check now
// as a user would, until the cycles asked for are done.

#include <QObject>
#include <optional>
#include <string>

#include "ConsoleUi.h"
#include "RecordedSettingsFiles.h"
#include "TerminationSignals.h"
#include "app/Program.h"
#include "console/CheckCommandLine.h"
#include "console/CycleOutcome.h"
#include "posix/PosixDownloads.h"
#include "posix/PosixProcesses.h"
#include "posix/StateFile.h"
#include "posix/SystemClock.h"
#include "posix/SystemRandom.h"
#include "posix/UserInstallation.h"
#include "qt/QtTimers.h"
#include "tls/TlsSocketPort.h"

namespace mivo {

class ConsoleCheckRun : public QObject {
    Q_OBJECT

public:
    explicit ConsoleCheckRun(const CheckCommandLine& options);

    // Gives the program its accounts and the counts kept by the last run.
    // Returns why the run cannot go ahead; nothing has been written then.
    std::optional<std::string> prepare();

    // Runs the event loop until the last cycle ended or a signal stopped the
    // run; returns the exit status.
    int exec();

    // The signal that stopped the run, if one did.
    std::optional<int> stoppedBy() const { return m_stoppedBy; }

private:
    std::optional<std::string> loadSettings();
    void overrideStoredOptions();
    // The passwords the command line names files for.
    std::optional<std::string> readPasswordFiles();
    void takeAccountsFromCommandLine();
    std::optional<std::string> loadKnownCounts();
    void reportStateWriteFailure();
    void saveSettings();
    void stop(int signal);
    void writeLog(std::string_view text);
    void flushOutput();
    void whenIdle();
    void cycleEnded(const CycleReport& report);
    void pressCheckNow();

    CheckCommandLine m_options;
    ConsoleUi m_ui;
    SystemClock m_clock;
    QtTimers m_timers;
    TlsSocketPort m_sockets;
    RecordedSettingsFiles m_settings;
    SystemRandom m_random;
    PosixProcesses m_processes;
    // The console never uninstalls; the program is built with every port.
    UserInstallation m_installation;
    PosixDownloads m_downloads;
    Program m_program;
    TerminationSignals m_signals;
    std::optional<StateFile> m_stateFile;
    bool m_settingsLoaded = false;
    // Stored options this run overrides, put back before the settings are
    // saved: the interval of --interval, and timed checks, which --cycles 0
    // needs on.
    std::optional<std::string> m_storedInterval;
    std::optional<bool> m_storedTimedChecks;
    std::string m_output;
    int m_cyclesDone = 0;
    bool m_checkNowQueued = false;
    bool m_checkNowPressed = false;  // the run's first Check now is the user's
    bool m_ended = false;
    std::optional<int> m_stoppedBy;
};

}  // namespace mivo
