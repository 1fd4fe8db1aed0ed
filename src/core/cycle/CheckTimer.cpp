#include "cycle/CheckTimer.h"

#include <cstdint>

#include "cycle/CountdownClock.h"
#include "text/IntegerText.h"
#include "text/TimeText.h"

namespace mivo {

CheckTimer::CheckTimer(CheckContext& context, Pop3Session& session, TimerPort& timers,
                       const ClockPort& clock)
    : m_context(context), m_session(session), m_timers(timers), m_clock(clock) {}

void CheckTimer::Timer1Timer() {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    window.TickCount += 1;
    m_context.log.append("Timer 1 called");
    if (window.TickCount == 50 && !cycle.connected && !cycle.connecting && cycle.settingsOk) {
        m_context.setCaption("Mivo");
    }
    m_context.ui.drawOnMainWindow(
        countdownClock({window.TickCount - 1, window.TickCount, window.CheckBox2.get(),
                        cycle.settingsOk, cycle.connected, cycle.connecting}));
    if (window.TickCount == kConnectTimeoutTick && cycle.connecting && !cycle.connected) {
        m_context.log.append("Opening TCP port to POP3 Error!(Timeout)");
        m_context.setCaption("Opening TCP port to POP3 Error!(Timeout)");
        m_context.transport.TcpClose(cycle.transportSlot);
        cycle.connecting = false;
    }
    m_session.countSilentTick();
    if (window.TickCount > kTicksPerInterval) {
        window.TickCount = 0;
        if (window.CheckBox2.get() && cycle.settingsOk) {
            timedStart();
        }
    }
}

void CheckTimer::timedStart() {
    Log& log = m_context.log;
    log.append("Timer initiated mail check.");
    log.append("Time: ");
    log.append(timeText(m_clock.now()));
    m_context.setCaption("(" + std::to_string(m_context.cycle.Account + 1) +
                         ")Checking for new mail - Mivo");
    log.append("checking email...");
    m_context.mainWindow.Button4Click();
}

void CheckTimer::Edit1Enter() {
    MainWindowModel& window = m_context.window;
    int minutes = readInteger(std::string_view(window.Edit1.get()).substr(0, 49));
    if (minutes > kMaxMinutes) {
        minutes = kMaxMinutes;
    }
    std::int64_t interval = static_cast<std::int64_t>(minutes) * 60000;
    if (interval < 60000) {
        // Edit1's change runs this again, nested, before the outer run ends.
        window.Edit1.set("1");
        interval = 60000;
    }
    m_timers.setInterval(TimerId::Timer1, static_cast<int>(interval / kTicksPerInterval));
    m_timers.setEnabled(TimerId::Timer1, true);
    m_context.log.append("Timer Activated!!");
}

}  // namespace mivo
