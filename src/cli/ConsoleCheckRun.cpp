#include "ConsoleCheckRun.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "console/TerminalText.h"

namespace mivo {

ConsoleCheckRun::ConsoleCheckRun(const CheckCommandLine& options)
    : m_options(options),
      m_settings(SettingsFiles::desktopDirectory(), SettingsFiles::kLegacyFileName),
      m_program(Ports{m_ui, m_clock, m_timers, m_sockets, m_settings, m_random}) {
    m_program.log().onAppend([this](std::string_view text) { writeLog(text); });
    m_program.onCycleEnded([this](const CycleReport& report) { cycleEnded(report); });
    // The first-activation step waits for a window to become active; the
    // console has none, and would only print its waiting ten times a second.
    m_timers.setEnabled(TimerId::Timer2, false);

    // The accounts and the minutes as a user would have typed them; the
    // program then comes into service as at start-up.
    MainWindowModel& window = m_program.mainWindowModel();
    for (std::size_t i = 0; i < m_options.accounts.size(); ++i) {
        const int account = static_cast<int>(i) + 1;
        window.accountUser(account).set(m_options.accounts[i].user);
        window.accountPass(account).set(m_options.accounts[i].password);
        window.accountPop(account).set(m_options.accounts[i].host);
    }
    window.Edit1.set(m_options.interval);
    m_program.bringIntoService();
}

int ConsoleCheckRun::exec() {
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &ConsoleCheckRun::whenIdle);
    pressCheckNow();
    const int status = QCoreApplication::exec();
    flushOutput();
    return status;
}

void ConsoleCheckRun::writeLog(std::string_view text) {
    // The Log's lines end in CR LF, the console's in LF; what a server put
    // inside a line is escaped.
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find("\r\n", start);
        m_output.append(terminalSafe(text.substr(start, end - start))).push_back('\n');
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 2;
    }
}

void ConsoleCheckRun::flushOutput() {
    m_ui.flushCaptions();
    if (!m_output.empty()) {
        std::fwrite(m_output.data(), 1, m_output.size(), stdout);
        std::fflush(stdout);
        m_output.clear();
    }
}

void ConsoleCheckRun::whenIdle() {
    // Output is written in one piece each time the program waits, so a
    // reader sees every line as soon as the engine has nothing else to do.
    flushOutput();
    if (stoppedAtAccount(m_program.cycleState()) && !m_checkNowQueued) {
        // The cycle stopped at an account (time-out or refused open): go on
        // with the next one at once, as a user pressing Check now would.
        m_checkNowQueued = true;
        QTimer::singleShot(0, this, [this] { pressCheckNow(); });
    }
}

void ConsoleCheckRun::pressCheckNow() {
    m_checkNowQueued = false;
    m_program.mainWindow().Button4Click();
}

void ConsoleCheckRun::cycleEnded(const CycleReport& report) {
    ++m_cyclesDone;
    if (m_options.cycles != 0 && m_cyclesDone >= m_options.cycles) {
        QCoreApplication::exit(static_cast<int>(cycleStatus(report)));
        return;
    }
    // The next cycle reports only what it finds itself.
    m_program.acknowledgeNewMail();
    if (m_options.cycles != 0 && !m_checkNowQueued) {
        m_checkNowQueued = true;
        QTimer::singleShot(0, this, [this] { pressCheckNow(); });
    }
}

}  // namespace mivo
