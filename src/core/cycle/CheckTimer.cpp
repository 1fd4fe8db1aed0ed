#include "cycle/CheckTimer.h"

#include <algorithm>
#include <cstdint>

#include "cycle/CountdownClock.h"
#include "text/IntegerText.h"

namespace mivo {

CheckTimer::CheckTimer(MainWindowModel& window, CycleState& cycle, CheckReports& reports,
                       UiPort& ui, TimerPort& timers)
    : m_window(window), m_cycle(cycle), m_reports(reports), m_ui(ui), m_timers(timers) {}

void CheckTimer::advance() {
    m_window.TickCount += 1;
    m_reports.log("Timer 1 called");
    // The caption of an account still failing stays: "Mivo" would tell the
    // user coming back that all is well.
    if (m_window.TickCount == kCaptionResetTick && !m_cycle.connected && !m_cycle.connecting &&
        m_cycle.settingsOk && !m_cycle.anyAccountError()) {
        m_reports.caption("Mivo");
    }
    drawCountdownClock(
        {m_window.TickCount - 1, m_window.TickCount, m_window.CheckBox2.get(), m_cycle.settingsOk,
         m_cycle.connected, m_cycle.connecting, m_cycle.anyAccountError()},
        m_clockSegments);
    m_ui.drawOnMainWindow(m_clockSegments);
}

int CheckTimer::typedMinutes() const {
    return std::min(readInteger(std::string_view(m_window.Edit1.get()).substr(0, 49)), kMaxMinutes);
}

void CheckTimer::applyInterval() {
    const std::int64_t interval =
        std::max<std::int64_t>(std::int64_t{typedMinutes()} * 60000, 60000);
    m_cycle.tickMilliseconds = static_cast<int>(interval / kTicksPerInterval);
    m_timers.setInterval(TimerId::Timer1, m_cycle.tickMilliseconds);
    m_timers.setEnabled(TimerId::Timer1, true);
    m_reports.log("Timer Activated!!");
}

void CheckTimer::showIntervalInForce() {
    if (typedMinutes() < 1) {
        // The change applies the interval again, nested.
        m_window.Edit1.set("1");
    }
}

}  // namespace mivo
