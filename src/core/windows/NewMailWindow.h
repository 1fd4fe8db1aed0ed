#pragma once
// The behaviour of the new-mail window TForm1: its refresh and show steps,
// the animation, Done and the close box, "Launch Email" and the way to the
// maker's web site. The window's size and place are the window's own.

#include "launch/Launcher.h"
#include "log/Log.h"
#include "model/AccountsDialogModel.h"
#include "model/MainWindowModel.h"
#include "model/NewMailWindowModel.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"

namespace mivo {

class NewMailWindow {
public:
    struct Parts {
        NewMailWindowModel& model;
        MainWindowModel& mainWindow;          // EmailProgram, NewMailOpen
        AccountsDialogModel& accountsDialog;  // each account's list
        Launcher& launcher;
        Log& log;
        UiPort& ui;
        TimerPort& timers;
    };

    explicit NewMailWindow(Parts parts);
    NewMailWindow(const NewMailWindow&) = delete;
    NewMailWindow& operator=(const NewMailWindow&) = delete;

    // The refresh step of creation and of every activation: Launch as the
    // e-mail program setting allows, and the application to the front
    // when the window has mail to show and the user asked for it.
    void FormCreate() { refresh(); }
    void FormActivate() { refresh(); }
    // Every way the window is shown: refreshed, with the animation
    // starting again at its first picture.
    void Show();
    // Runs whenever the window is hidden, whatever hid it: the animation
    // only runs while there is someone to see it.
    void FormHide();
    void Timer1Timer();

    // Hides the window and empties every account's list, so the next
    // summary holds only mail found after this.
    void DoneClick();
    // The close box: hides the window, but the lists stay for the next
    // summary.
    void FormClose();
    void LaunchClick();
    // A click on any picture, and the pictures' menu item "Tavrel LTD".
    void ImageClick() { m_parts.launcher.OpenWebSite(); }
    void TavrelLTD1Click() { m_parts.launcher.OpenWebSite(); }

private:
    void refresh();

    Parts m_parts;
};

}  // namespace mivo
