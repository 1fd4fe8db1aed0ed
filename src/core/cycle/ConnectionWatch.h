#pragma once
// Gives up on a connection that has gone quiet: one on which no complete line
// has come for the silence limit, or one the server has not closed within a
// grace period after the conversation ended. Measured on the monotonic clock
// with a timer of its own, so repaints, clicks and long check intervals play
// no part.

#include <cstdint>
#include <functional>

#include "ports/ClockPort.h"
#include "ports/TimerPort.h"

namespace mivo {

class ConnectionWatch {
public:
    ConnectionWatch(TimerPort& timers, const ClockPort& clock, std::function<void()> expired);

    // Watches for silence from now on.
    void watchSilence(std::int64_t limitMilliseconds);
    // A complete line arrived. Cheap: the timer is only moved when it fires.
    void sawLine() {
        if (!m_closing) {
            m_since = m_clock.monotonicMilliseconds();
        }
    }
    // Expires `graceMilliseconds` from now, whatever arrives meanwhile.
    void watchClose(std::int64_t graceMilliseconds);
    void stop();

private:
    void fired();
    void arm(std::int64_t milliseconds);

    TimerPort& m_timers;
    const ClockPort& m_clock;
    std::function<void()> m_expired;
    bool m_watching = false;
    bool m_closing = false;  // the grace period runs, lines or not
    std::int64_t m_since = 0;
    std::int64_t m_limit = 0;
};

}  // namespace mivo
