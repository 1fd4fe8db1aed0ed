#pragma once
// One running Mivo: the models of its windows, its run-time state and the
// behaviours bound to them. The GUI and the console front end each build one
// Program on their own adapters and drive it through this interface only.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cycle/CheckCycle.h"
#include "cycle/CheckTimer.h"
#include "cycle/CycleReport.h"
#include "cycle/NewMailSummary.h"
#include "launch/Launcher.h"
#include "log/Log.h"
#include "mainwindow/MainWindow.h"
#include "model/AccountsDialogModel.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "model/NewMailWindowModel.h"
#include "model/UninstallWindowModel.h"
#include "ports/ClockPort.h"
#include "ports/DownloadPort.h"
#include "ports/InstallationPort.h"
#include "ports/ProcessPort.h"
#include "ports/RandomPort.h"
#include "ports/SettingsPort.h"
#include "ports/SocketPort.h"
#include "ports/StatePort.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "report/CheckReports.h"
#include "report/StatusCaption.h"
#include "settings/SettingsStore.h"
#include "state/SeenMail.h"
#include "transport/TcpTransport.h"
#include "uninstall/UninstallSteps.h"
#include "uninstall/Uninstaller.h"
#include "windows/AccountsDialog.h"
#include "windows/AdvancedOptions.h"
#include "windows/AdvancedOptionsModel.h"
#include "windows/DirectoryChooser.h"
#include "windows/DirectoryChooserModel.h"
#include "windows/LogViewer.h"
#include "windows/LogViewerModel.h"
#include "windows/NewMailWindow.h"
#include "windows/TaskbarPresence.h"
#include "windows/UrgentNotice.h"
#include "windows/UrgentNoticeModel.h"

namespace mivo {

struct Ports {
    UiPort& ui;
    const ClockPort& clock;
    TimerPort& timers;
    SocketPort& sockets;
    SettingsPort& settings;
    RandomPort& random;
    ProcessPort& processes;
    InstallationPort& installation;
    DownloadPort& downloads;
};

class Program {
public:
    // `arguments`: the command line after the program's name, which the
    // start-up decision reads.
    explicit Program(Ports ports, std::vector<std::string> arguments = {});
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The start-up decision, once every window exists: loads the settings
    // (which starts the socket layer and puts the interval in force) and, for
    // the single argument "uninstall", puts the program in uninstall mode.
    void startUp();
    // Starts the socket layer and puts the typed interval in force without
    // loading any settings, for a check of accounts given some other way.
    void bringIntoService();
    // Remembers the messages seen in each mailbox in `state`, from the last
    // run to this one and on to the next; call before the first check.
    // Returns why what `state` holds cannot be used (the Log says it too):
    // all mail then counts as new, and the state is never written over.
    // Without it the program remembers only while it runs. The uninstaller
    // removes the state along with the settings.
    std::optional<std::string> keepSeenMailIn(StatePort& state);
    // Writes what has been seen so far, as the end of a cycle does.
    void saveSeenMail() { m_seenMail.save(); }
    const SeenMail& seenMail() const { return m_seenMail; }
    // What a click on the main window, its deactivation and its end do.
    void saveSettings() { m_settingsStore.save(); }
    const SettingsStore& settingsStore() const { return m_settingsStore; }
    // What the new-mail window's Done does: the mail announced so far is
    // taken as seen, and the next cycle reports only what it finds itself.
    void acknowledgeNewMail() { m_newMailWindowBehaviour.DoneClick(); }
    // Check now as the program's own steps call it: goes on with the next
    // account, or starts a cycle, and leaves the accounts whose login was
    // refused alone, unlike a press of "Check now!" (mainWindow()).
    void goOnChecking() { m_checkCycle.checkNow(); }
    // Runs, nested inside the last Check now of a cycle, after its summary.
    void onCycleEnded(std::function<void(const CycleReport&)> observer) {
        m_checkCycle.onCycleEnded(std::move(observer));
    }

    // The main window's entry points, which the windows bind to.
    MainWindow& mainWindow() { return m_mainWindow; }
    AdvancedOptions& advancedOptionsBehaviour() { return m_advancedOptionsBehaviour; }
    // The taskbar button and the tray icon, shown as their options say.
    TaskbarPresence& taskbarPresence() { return m_presence; }
    StatusCaption& statusCaption() { return m_statusCaption; }
    Log& log() { return m_log; }
    Launcher& launcher() { return m_launcher; }
    // The other windows' entry points. The log viewer's ShowLog() is the
    // advanced options dialog's "Show Log".
    AccountsDialog& accountsDialogBehaviour() { return m_accountsDialogBehaviour; }
    LogViewer& logViewerBehaviour() { return m_logViewerBehaviour; }
    DirectoryChooser& directoryChooserBehaviour() { return m_directoryChooserBehaviour; }
    NewMailWindow& newMailWindowBehaviour() { return m_newMailWindowBehaviour; }
    UrgentNotice& urgentNoticeBehaviour() { return m_urgentNoticeBehaviour; }
    Uninstaller& uninstallerBehaviour() { return m_uninstaller; }

    // The windows' models, which their widgets bind to.
    MainWindowModel& mainWindowModel() { return m_mainWindowModel; }
    AccountsDialogModel& accountsDialog() { return m_accountsDialog; }
    AdvancedOptionsModel& advancedOptions() { return m_advancedOptions; }
    LogViewerModel& logViewer() { return m_logViewer; }
    DirectoryChooserModel& directoryChooser() { return m_directoryChooser; }
    NewMailWindowModel& newMailWindow() { return m_newMailWindow; }
    UrgentNoticeModel& urgentNotice() { return m_urgentNotice; }
    UninstallWindowModel& uninstallWindow() { return m_uninstallWindow; }
    CycleState& cycleState() { return m_cycle; }
    const CycleState& cycleState() const { return m_cycle; }
    const TcpTransport& transport() const { return m_transport; }

private:
    UiPort& m_ui;
    TimerPort& m_timers;
    std::vector<std::string> m_arguments;
    MainWindowModel m_mainWindowModel;
    AccountsDialogModel m_accountsDialog;
    AdvancedOptionsModel m_advancedOptions;
    LogViewerModel m_logViewer;
    DirectoryChooserModel m_directoryChooser;
    NewMailWindowModel m_newMailWindow;
    UrgentNoticeModel m_urgentNotice;
    UninstallWindowModel m_uninstallWindow;
    CycleState m_cycle;
    Log m_log;
    SeenMail m_seenMail;
    Launcher m_launcher;
    StatusCaption m_statusCaption;
    TaskbarPresence m_presence;
    NewMailWindow m_newMailWindowBehaviour;
    UrgentNotice m_urgentNoticeBehaviour;
    LogViewer m_logViewerBehaviour;
    AdvancedOptions m_advancedOptionsBehaviour;
    AccountsDialog m_accountsDialogBehaviour;
    DirectoryChooser m_directoryChooserBehaviour;
    TcpTransport m_transport;
    CheckReports m_reports;
    CheckTimer m_checkTimer;
    NewMailSummary m_newMailSummary;
    CheckCycle m_checkCycle;
    SettingsStore m_settingsStore;
    UninstallSteps m_uninstallSteps;
    Uninstaller m_uninstaller;
    // Built last: its handlers lead into all of the above.
    MainWindow m_mainWindow;
};

}  // namespace mivo
