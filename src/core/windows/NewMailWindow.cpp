#include "windows/NewMailWindow.h"

#include "windows/EmailProgramLaunch.h"

namespace mivo {

NewMailWindow::NewMailWindow(Parts parts) : m_parts(parts) {
    m_parts.timers.setInterval(TimerId::NewMailAnimation, 100);
    m_parts.timers.setHandler(TimerId::NewMailAnimation, [this] { Timer1Timer(); });
}

void NewMailWindow::refresh() {
    NewMailWindowModel& model = m_parts.model;
    model.LaunchEnabled.set(!m_parts.mainWindow.EmailProgram.get().empty());
    // An outcome reported on the button is news only until the window
    // comes up again.
    model.LaunchCaption.set("Launch Email");
    if (model.bringAppToFront.get() && !model.Memo1.get().empty()) {
        m_parts.ui.bringApplicationToFront();
    }
}

void NewMailWindow::Show() {
    refresh();
    // A round cut short by hiding leaves no picture behind.
    m_parts.model.frameCounter = 0;
    m_parts.model.shownImage.set(0);
    m_parts.timers.setEnabled(TimerId::NewMailAnimation, true);
    m_parts.ui.showWindow(WindowId::NewMail);
}

void NewMailWindow::FormHide() {
    m_parts.model.frameCounter = 0;
    m_parts.timers.setEnabled(TimerId::NewMailAnimation, false);
}

void NewMailWindow::Timer1Timer() {
    NewMailWindowModel& model = m_parts.model;
    const int next = ++model.frameCounter;
    // Showing Imagek hides the one before it, Image38 before Image1.
    model.shownImage.set(next);
    if (next >= NewMailWindowModel::kImageCount) {
        model.frameCounter = 0;
    }
}

void NewMailWindow::DoneClick() {
    m_parts.ui.hideWindow(WindowId::NewMail);
    m_parts.mainWindow.NewMailOpen = false;
    for (int account = 1; account <= kAccountCount; ++account) {
        m_parts.accountsDialog.Memon[account].set("");
    }
}

void NewMailWindow::FormClose() {
    m_parts.ui.hideWindow(WindowId::NewMail);
    m_parts.mainWindow.NewMailOpen = false;
}

void NewMailWindow::LaunchClick() {
    const EmailProgramLaunch launch = emailProgramLaunch(m_parts.mainWindow.EmailProgram.get());
    Launcher& launcher = m_parts.launcher;
    if (!launch.splitAtExe) {
        // The whole setting names the program. On Linux that is the usual
        // case (no ".exe"), so it is read as a command line: a program and
        // its options, a path with blanks in double quotes. The run reports
        // its own failure; the button keeps its caption.
        launcher.RunProgram(std::nullopt, launch.programPath, std::nullopt);
        return;
    }
    for (const std::string& line :
         {std::string("Launching exe file"), launch.programPath, std::string("with commands"),
          launch.argumentText, std::string("in dir"), launch.workingDirectory}) {
        m_parts.log.append(line);
    }
    const bool started =
        launcher.RunProgram(launch.programPath, launch.argumentText, launch.workingDirectory);
    m_parts.model.LaunchCaption.set(started ? "Launching..." : "Launch Failed");
}

}  // namespace mivo
