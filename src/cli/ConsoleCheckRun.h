#pragma once
// One run of mivo-check: builds the program on the Linux adapters, gives it
// the accounts of the command line and presses Check now as a user would,
// until the cycles asked for are done.

#include <QObject>
#include <string>

#include "ConsoleUi.h"
#include "app/Program.h"
#include "console/CheckCommandLine.h"
#include "console/CycleOutcome.h"
#include "posix/PosixSocketPort.h"
#include "posix/SettingsFiles.h"
#include "posix/SystemClock.h"
#include "posix/SystemRandom.h"
#include "qt/QtTimers.h"

namespace mivo {

class ConsoleCheckRun : public QObject {
    Q_OBJECT

public:
    explicit ConsoleCheckRun(const CheckCommandLine& options);

    // Runs the event loop until the last cycle ended; returns the exit status.
    int exec();

private:
    void writeLog(std::string_view text);
    void flushOutput();
    void whenIdle();
    void cycleEnded(const CycleReport& report);
    void pressCheckNow();

    CheckCommandLine m_options;
    ConsoleUi m_ui;
    SystemClock m_clock;
    QtTimers m_timers;
    PosixSocketPort m_sockets;
    SettingsFiles m_settings;
    SystemRandom m_random;
    Program m_program;
    std::string m_output;
    int m_cyclesDone = 0;
    bool m_checkNowQueued = false;
};

}  // namespace mivo
