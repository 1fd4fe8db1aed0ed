#include "cycle/ConnectionWatch.h"

#include <algorithm>
#include <climits>

namespace mivo {

ConnectionWatch::ConnectionWatch(TimerPort& timers, const ClockPort& clock,
                                 std::function<std::uint64_t()> receivedBytes,
                                 std::function<void()> expired)
    : m_timers(timers),
      m_clock(clock),
      m_receivedBytes(std::move(receivedBytes)),
      m_expired(std::move(expired)) {
    m_timers.setHandler(TimerId::ConnectionWatch, [this] { fired(); });
}

void ConnectionWatch::watchSilence(std::int64_t limitMilliseconds) {
    m_watching = true;
    m_closing = false;
    m_awaitingReply = false;
    m_limit = limitMilliseconds;
    sawLine();
    arm(m_limit);
}

void ConnectionWatch::awaitReply(ReplyPace pace) {
    if (!m_watching || m_closing) {
        return;
    }
    m_awaitingReply = true;
    m_pace = pace;
    const std::int64_t now = m_clock.monotonicMilliseconds();
    m_replySince = now;
    m_bytesBefore = m_receivedBytes();
    armForNextDue(now);
}

void ConnectionWatch::watchClose(std::int64_t graceMilliseconds) {
    m_watching = true;
    m_closing = true;
    m_awaitingReply = false;
    m_limit = graceMilliseconds;
    m_since = m_clock.monotonicMilliseconds();
    arm(m_limit);
}

void ConnectionWatch::stop() {
    m_watching = false;
    m_awaitingReply = false;
    m_timers.setEnabled(TimerId::ConnectionWatch, false);
}

void ConnectionWatch::arm(std::int64_t milliseconds) {
    m_timers.setEnabled(TimerId::ConnectionWatch, false);
    m_timers.setInterval(TimerId::ConnectionWatch,
                         static_cast<int>(std::clamp<std::int64_t>(milliseconds, 1, INT_MAX)));
    m_timers.setEnabled(TimerId::ConnectionWatch, true);
}

std::int64_t ConnectionWatch::replyDue() const {
    return m_replySince +
           (m_pace == ReplyPace::Whole ? kReplyLimitMilliseconds : kPaceMilliseconds);
}

void ConnectionWatch::armForNextDue(std::int64_t now) {
    std::int64_t due = m_since + m_limit;
    if (m_awaitingReply) {
        due = std::min(due, replyDue());
    }
    arm(due - now);
}

void ConnectionWatch::fired() {
    if (!m_watching) {
        return;
    }
    const std::int64_t now = m_clock.monotonicMilliseconds();
    bool expired = now - m_since >= m_limit;
    if (!expired && m_awaitingReply && now >= replyDue()) {
        if (m_pace == ReplyPace::Whole) {
            expired = true;
        } else {
            // A minute of the message is over: it goes on only if the
            // minute brought enough.
            const std::uint64_t received = m_receivedBytes();
            expired = received - m_bytesBefore < kPaceBytes;
            m_replySince = now;
            m_bytesBefore = received;
        }
    }
    if (expired) {
        stop();
        m_expired();
        return;
    }
    // A line came since the timer was set, or a minute of a message went
    // well: wait for what is left.
    armForNextDue(now);
}

}  // namespace mivo
