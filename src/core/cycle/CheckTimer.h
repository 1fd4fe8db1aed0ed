#pragma once
// The check clock: the interval in Edit1 divided into 200 ticks of Timer1,
// and what every tick shows (the Log line, the caption reset, the countdown
// clock). What a tick starts or abandons is the check cycle's.

#include <vector>

#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "ports/ClockSegment.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "report/CheckReports.h"

namespace mivo {

class CheckTimer {
public:
    static constexpr int kTicksPerInterval = 200;
    // The tick at which an idle, error-free check puts the plain caption back.
    static constexpr int kCaptionResetTick = 50;
    // 35791 minutes is the longest interval whose milliseconds fit 32 bits.
    static constexpr int kMaxMinutes = 35791;

    CheckTimer(MainWindowModel& window, CycleState& cycle, CheckReports& reports, UiPort& ui,
               TimerPort& timers);

    // Counts one tick and redraws the clock.
    void advance();
    // Applies the minutes typed into Edit1 to Timer1 while leaving the text
    // as typed: an empty or zero box means one minute.
    void applyInterval();
    // Leaving Edit1 (or Enter in it) shows the minutes in force where the
    // text reads as less than one.
    void showIntervalInForce();

private:
    int typedMinutes() const;

    MainWindowModel& m_window;
    CycleState& m_cycle;
    CheckReports& m_reports;
    UiPort& m_ui;
    TimerPort& m_timers;
    std::vector<ClockSegment> m_clockSegments;  // kept from tick to tick
};

}  // namespace mivo
