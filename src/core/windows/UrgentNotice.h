#pragma once
// The behaviour of the urgent notice TUrgentNotice: showing it, its tick
// (the moving stripes, Continue after the fourth) and Continue itself.
// Where the window stands on the screen is the window's own.

#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "windows/UrgentNoticeModel.h"

namespace mivo {

class UrgentNotice {
public:
    UrgentNotice(UrgentNoticeModel& model, UiPort& ui, TimerPort& timers);
    UrgentNotice(const UrgentNotice&) = delete;
    UrgentNotice& operator=(const UrgentNotice&) = delete;

    // Continue is hidden again and the stripes start their first round.
    void Show();
    // Runs whenever the window is hidden, whatever hid it: a notice nobody
    // sees does not tick.
    void FormHide();
    void Timer1Timer();
    // Continue.
    void Button1Click() { m_ui.hideWindow(WindowId::UrgentNotice); }

private:
    UrgentNoticeModel& m_model;
    UiPort& m_ui;
    TimerPort& m_timers;
};

}  // namespace mivo
