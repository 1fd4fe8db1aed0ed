#pragma once
// The check clock: the interval in Edit1 divided into 200 ticks of Timer1,
// the time-outs counted in ticks, and the timed start of a check cycle.

#include "cycle/CheckContext.h"
#include "pop3/Pop3Session.h"
#include "ports/ClockPort.h"
#include "ports/TimerPort.h"

namespace mivo {

class CheckTimer {
public:
    static constexpr int kTicksPerInterval = 200;
    static constexpr int kConnectTimeoutTick = 75;
    // 35791 minutes is the longest interval whose milliseconds fit 32 bits.
    static constexpr int kMaxMinutes = 35791;

    CheckTimer(CheckContext& context, Pop3Session& session, TimerPort& timers,
               const ClockPort& clock);

    // One tick; also run by repaints of the main window and CheckBox2 clicks.
    void Timer1Timer();
    // Applies the minutes typed into Edit1 to Timer1.
    void Edit1Enter();

private:
    void timedStart();

    CheckContext& m_context;
    Pop3Session& m_session;
    TimerPort& m_timers;
    const ClockPort& m_clock;
};

}  // namespace mivo
