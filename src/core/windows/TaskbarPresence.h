#pragma once
// The program's presence on the desktop besides its windows: its taskbar
// button and its tray icon, each shown as the user's options say, and the
// 2-second step that takes the button away again after the program was
// brought back while the user wants no button.

#include "log/Log.h"
#include "model/MainWindowModel.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"

namespace mivo {

class TaskbarPresence {
public:
    // The identifier the program's one tray icon is shown and pressed with.
    static constexpr int kTrayIconId = 123;

    TaskbarPresence(MainWindowModel& model, UiPort& ui, TimerPort& timers, Log& log);

    // Gets the presses on the tray icon, before the icon is first shown.
    void setUpTrayIcon();

    // Shows or removes the taskbar button and the tray icon where their
    // options differ from what was last applied.
    void applyPresence();
    void showTrayIcon();
    void removeTrayIcon();

    // A press on a tray icon: the program's own brings the program back.
    void trayIconPressed(int identifier);
    // Timer3: removes the taskbar button that a restore brought back.
    void Timer3Timer();
    // The application was minimised: without a wanted button, only the tray
    // icon is left at once.
    void applicationMinimised();
    // The main window was hidden or closed.
    void FormHide();
    void FormClose();

private:
    void setButtonRemoved(bool removed);
    // Timer3 runs only while its step would act, so an idle program with
    // its button shown, or already removed, is not woken every 2 seconds.
    void updateTimer3();

    MainWindowModel& m_model;
    UiPort& m_ui;
    TimerPort& m_timers;
    Log& m_log;
    // What was last applied: the taskbar starts with the button and without
    // the icon, so the first application adds the icon when it is wanted.
    bool m_appliedTaskbarButton = true;
    bool m_appliedTrayIcon = false;
    bool m_buttonRemoved = false;
};

}  // namespace mivo
