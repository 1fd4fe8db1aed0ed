#include "QtTimers.h"

#include <cstddef>

namespace mivo {

QtTimers::QtTimers() {
    for (Slot& s : m_slots) {
        s.timer.setTimerType(Qt::PreciseTimer);
        // The handler is looked up at each tick, so it may be bound late and
        // may rebind the timer from inside itself.
        QObject::connect(&s.timer, &QTimer::timeout, [&s] {
            if (s.handler) {
                s.handler();
            }
        });
    }
}

QtTimers::Slot& QtTimers::slot(TimerId timer) {
    return m_slots.at(static_cast<std::size_t>(timer));
}

const QtTimers::Slot& QtTimers::slot(TimerId timer) const {
    return m_slots.at(static_cast<std::size_t>(timer));
}

void QtTimers::setInterval(TimerId timer, int milliseconds) {
    Slot& s = slot(timer);
    if (s.interval == milliseconds) {
        return;
    }
    s.interval = milliseconds;
    s.timer.stop();  // a new interval counts from now
    apply(s);
}

void QtTimers::setEnabled(TimerId timer, bool enabled) {
    Slot& s = slot(timer);
    if (s.enabled == enabled) {
        return;
    }
    s.enabled = enabled;
    apply(s);
}

void QtTimers::setHandler(TimerId timer, std::function<void()> handler) {
    slot(timer).handler = std::move(handler);
}

bool QtTimers::isRunning(TimerId timer) const {
    return slot(timer).timer.isActive();
}

int QtTimers::interval(TimerId timer) const {
    return slot(timer).interval;
}

void QtTimers::apply(Slot& s) {
    // An interval of 0 never fires, unlike a Qt zero timer that fires
    // whenever the loop is idle.
    if (s.enabled && s.interval > 0) {
        if (!s.timer.isActive()) {
            s.timer.start(s.interval);
        }
    } else {
        s.timer.stop();
    }
}

}  // namespace mivo
