#pragma once
// Gives up on a connection that has gone quiet or drags: one on which no
// complete line has come for the silence limit, one whose server takes more
// than two minutes over a reply or sends a message slower than 1 KiB a
// second over a minute, or one the server has not closed within a grace
// period after the conversation ended. Measured on the monotonic clock with a
// timer of its own, so repaints, clicks and long check intervals play no
// part.

#include <cstdint>
#include <functional>

#include "ports/ClockPort.h"
#include "ports/TimerPort.h"

namespace mivo {

// How long a server may take over the reply it was asked for.
enum class ReplyPace {
    // Whole within the reply limit: a status line, or a message's header
    // lines with their status line.
    Whole,
    // A whole message, which may take as long as it needs at a steady pace.
    Steady,
};

class ConnectionWatch {
public:
    static constexpr std::int64_t kReplyLimitMilliseconds = 120000;
    // A message is followed as long as each minute brings 60 KiB.
    static constexpr std::int64_t kPaceMilliseconds = 60000;
    static constexpr std::uint64_t kPaceBytes = 60 * 1024;

    // `receivedBytes` counts the connection's bytes received so far.
    ConnectionWatch(TimerPort& timers, const ClockPort& clock,
                    std::function<std::uint64_t()> receivedBytes, std::function<void()> expired);

    // Watches for silence from now on.
    void watchSilence(std::int64_t limitMilliseconds);
    // A complete line arrived. Cheap: the timer is only moved when it fires.
    void sawLine() {
        if (!m_closing) {
            m_since = m_clock.monotonicMilliseconds();
        }
    }
    // The server was asked for a reply (or, on connecting, owes its
    // greeting): from now on it is to come at `pace`.
    void awaitReply(ReplyPace pace);
    // Expires `graceMilliseconds` from now, whatever arrives meanwhile.
    void watchClose(std::int64_t graceMilliseconds);
    void stop();

private:
    void fired();
    void arm(std::int64_t milliseconds);
    // When the reply awaited is next to be looked at.
    std::int64_t replyDue() const;
    void armForNextDue(std::int64_t now);

    TimerPort& m_timers;
    const ClockPort& m_clock;
    std::function<std::uint64_t()> m_receivedBytes;
    std::function<void()> m_expired;
    bool m_watching = false;
    bool m_closing = false;  // the grace period runs, lines or not
    std::int64_t m_since = 0;
    std::int64_t m_limit = 0;
    bool m_awaitingReply = false;
    ReplyPace m_pace = ReplyPace::Whole;
    // When the reply was asked for (Whole), or when the current minute of
    // a message began and how many bytes had come by then (Steady).
    std::int64_t m_replySince = 0;
    std::uint64_t m_bytesBefore = 0;
};

}  // namespace mivo
