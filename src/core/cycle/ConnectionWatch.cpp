#include "cycle/ConnectionWatch.h"

#include <algorithm>
#include <climits>

namespace mivo {

ConnectionWatch::ConnectionWatch(TimerPort& timers, const ClockPort& clock,
                                 std::function<void()> expired)
    : m_timers(timers), m_clock(clock), m_expired(std::move(expired)) {
    m_timers.setHandler(TimerId::ConnectionWatch, [this] { fired(); });
}

void ConnectionWatch::watchSilence(std::int64_t limitMilliseconds) {
    m_watching = true;
    m_closing = false;
    m_limit = limitMilliseconds;
    sawLine();
    arm(m_limit);
}

void ConnectionWatch::watchClose(std::int64_t graceMilliseconds) {
    m_watching = true;
    m_closing = true;
    m_limit = graceMilliseconds;
    m_since = m_clock.monotonicMilliseconds();
    arm(m_limit);
}

void ConnectionWatch::stop() {
    m_watching = false;
    m_timers.setEnabled(TimerId::ConnectionWatch, false);
}

void ConnectionWatch::arm(std::int64_t milliseconds) {
    m_timers.setEnabled(TimerId::ConnectionWatch, false);
    m_timers.setInterval(TimerId::ConnectionWatch,
                         static_cast<int>(std::clamp<std::int64_t>(milliseconds, 1, INT_MAX)));
    m_timers.setEnabled(TimerId::ConnectionWatch, true);
}

void ConnectionWatch::fired() {
    if (!m_watching) {
        return;
    }
    const std::int64_t waited = m_clock.monotonicMilliseconds() - m_since;
    if (waited < m_limit) {
        // A line came since the timer was set: wait for what is left.
        arm(m_limit - waited);
        return;
    }
    stop();
    m_expired();
}

}  // namespace mivo
