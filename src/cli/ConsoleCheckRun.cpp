#include "ConsoleCheckRun.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "PasswordFile.h"
#include "console/FilledInAccounts.h"
#include "console/TerminalText.h"
#include "posix/PosixSocketPort.h"
#include "settings/SettingsText.h"

namespace mivo {

namespace {

RecordedSettingsFiles settingsFilesFor(const CheckCommandLine& options) {
    if (options.configDirectory) {
        const std::string& directory = *options.configDirectory;
        return RecordedSettingsFiles(directory, directory + "/" + SettingsFiles::kLegacyFileName);
    }
    // The desktop program's own files, the old one in the working directory
    // as the desktop program looks for it.
    return RecordedSettingsFiles(SettingsFiles::desktopDirectory(), SettingsFiles::kLegacyFileName);
}

}  // namespace

ConsoleCheckRun::ConsoleCheckRun(const CheckCommandLine& options)
    : m_options(options),
      m_sockets(std::make_unique<PosixSocketPort>(), TlsSocketPort::configurationFromEnvironment()),
      m_settings(settingsFilesFor(options)),
      m_program(Ports{m_ui, m_clock, m_timers, m_sockets, m_settings, m_random, m_processes,
                      m_installation, m_downloads}),
      m_signals([this](int signal) { stop(signal); }) {
    if (m_options.stateFile) {
        m_stateFile.emplace(*m_options.stateFile);
    }
    m_program.log().onAppend([this](std::string_view text) { writeLog(text); });
    m_program.onCycleEnded([this](const CycleReport& report) { cycleEnded(report); });
    // The first-activation step waits for a window to become active; the
    // console has none, and would only print its waiting ten times a second.
    m_timers.setEnabled(TimerId::Timer2, false);
}

std::optional<std::string> ConsoleCheckRun::prepare() {
    if (m_options.accounts.empty()) {
        if (auto failure = loadSettings()) {
            return failure;
        }
    } else {
        if (auto failure = readPasswordFiles()) {
            return failure;
        }
        takeAccountsFromCommandLine();
    }
    return loadKnownCounts();
}

std::optional<std::string> ConsoleCheckRun::loadSettings() {
    m_program.startUp();
    if (const auto& reason = m_program.settingsStore().unreadableReason()) {
        return "cannot use the settings: " + *reason;
    }
    const bool stored = m_settings.settingsFound().state == StoredText::State::Present;
    if (!stored) {
        const StoredText& legacy = m_settings.legacyFileFound();
        if (legacy.state == StoredText::State::Absent) {
            return "no settings in " + m_settings.settingsPath();
        }
        if (legacy.state == StoredText::State::Ignored) {
            return "no settings in " + m_settings.settingsPath() + " (" + legacy.reason + ")";
        }
        if (legacy.state == StoredText::State::Unreadable) {
            return "cannot use the settings: " + legacy.reason;
        }
    }
    MainWindowModel& window = m_program.mainWindowModel();
    if (!anyAccountFilledIn(window)) {
        return "the settings in " + (stored ? m_settings.settingsPath() : m_settings.legacyPath()) +
               " have no account filled in";
    }
    m_settingsLoaded = true;
    m_settings.keepProgramPath(std::string(settings::valueOf(window.SET.get(), "EXENAME")));
    overrideStoredOptions();
    return std::nullopt;
}

void ConsoleCheckRun::overrideStoredOptions() {
    MainWindowModel& window = m_program.mainWindowModel();
    if (m_options.interval) {
        m_storedInterval = window.Edit1.get();
        window.Edit1.set(*m_options.interval);
    }
    if (m_options.cycles == 0 && !window.CheckBox2.get()) {
        // A run that is to go on for ever would otherwise end up idle for
        // ever after its first cycle.
        m_storedTimedChecks = false;
        window.CheckBox2.set(true);
    }
}

std::optional<std::string> ConsoleCheckRun::readPasswordFiles() {
    for (ConsoleAccount& account : m_options.accounts) {
        if (account.passwordFile) {
            if (auto failure = readPasswordFile(*account.passwordFile, account.password)) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

void ConsoleCheckRun::takeAccountsFromCommandLine() {
    // The accounts and the minutes as a user would have typed them; the
    // program then comes into service as at start-up.
    MainWindowModel& window = m_program.mainWindowModel();
    for (std::size_t i = 0; i < m_options.accounts.size(); ++i) {
        const int account = static_cast<int>(i) + 1;
        window.accountUser(account).set(m_options.accounts[i].user);
        window.accountPass(account).set(m_options.accounts[i].password);
        window.accountPop(account).set(m_options.accounts[i].host);
    }
    if (m_options.interval) {
        window.Edit1.set(*m_options.interval);
    }
    m_program.bringIntoService();
}

std::optional<std::string> ConsoleCheckRun::loadKnownCounts() {
    if (!m_stateFile) {
        return std::nullopt;
    }
    if (auto failure = m_program.keepSeenMailIn(*m_stateFile)) {
        return "cannot use the state file " + m_stateFile->path() + ": " + *failure;
    }
    return std::nullopt;
}

void ConsoleCheckRun::reportStateWriteFailure() {
    if (const auto& failure = m_program.seenMail().writeFailure()) {
        flushOutput();
        std::fprintf(stderr, "mivo-check: cannot save the state: %s\n",
                     terminalSafe(*failure).c_str());
    }
}

void ConsoleCheckRun::saveSettings() {
    if (!m_settingsLoaded) {
        return;
    }
    MainWindowModel& window = m_program.mainWindowModel();
    if (m_storedInterval) {
        window.Edit1.set(*m_storedInterval);
        m_storedInterval.reset();
    }
    if (m_storedTimedChecks) {
        window.CheckBox2.set(*m_storedTimedChecks);
        m_storedTimedChecks.reset();
    }
    m_program.saveSettings();
    if (const auto& failure = m_settings.writeFailure()) {
        flushOutput();
        std::fprintf(stderr, "mivo-check: cannot save the settings: %s\n",
                     terminalSafe(*failure).c_str());
    }
}

int ConsoleCheckRun::exec() {
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &ConsoleCheckRun::whenIdle);
    // From inside the loop: a cycle can end within this first click (no
    // account needs a connection), and its end must be able to stop the loop.
    m_checkNowQueued = true;
    QTimer::singleShot(0, this, [this] { pressCheckNow(); });
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
    if (!m_ended && stoppedAtAccount(m_program.cycleState()) && !m_checkNowQueued) {
        // The cycle stopped at an account (time-out or refused open): go on
        // with the next one at once, as a user pressing Check now would.
        m_checkNowQueued = true;
        QTimer::singleShot(0, this, [this] { pressCheckNow(); });
    }
}

void ConsoleCheckRun::pressCheckNow() {
    m_checkNowQueued = false;
    if (m_ended) {
        return;
    }
    if (!m_checkNowPressed) {
        m_checkNowPressed = true;
        m_program.mainWindow().Button4Click();
    } else {
        // Later cycles are the run's own, like timed ones: a login refused
        // in this run is not sent again.
        m_program.goOnChecking();
    }
}

void ConsoleCheckRun::cycleEnded(const CycleReport& report) {
    if (m_ended) {
        return;
    }
    ++m_cyclesDone;
    // The program saved what it saw at the end of the cycle.
    reportStateWriteFailure();
    if (m_options.cycles != 0 && m_cyclesDone >= m_options.cycles) {
        m_ended = true;
        saveSettings();
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

void ConsoleCheckRun::stop(int signal) {
    if (m_ended) {
        return;
    }
    // Mail announced so far counts as seen, as it would at the cycle's end.
    m_ended = true;
    m_stoppedBy = signal;
    m_program.saveSeenMail();
    reportStateWriteFailure();
    saveSettings();
    QCoreApplication::exit(128 + signal);
}

}  // namespace mivo
