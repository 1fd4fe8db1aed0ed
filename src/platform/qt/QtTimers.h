#pragma once
// The window timers on Qt's event loop. A timer keeps running through a
// change that leaves it as it was, as Windows timers did.

#include <QTimer>
#include <array>
#include <functional>

#include "ports/TimerPort.h"

namespace mivo {

class QtTimers : public TimerPort {
public:
    QtTimers();

    void setInterval(TimerId timer, int milliseconds) override;
    void setEnabled(TimerId timer, bool enabled) override;
    void setHandler(TimerId timer, std::function<void()> handler) override;

    // For tests: whether the timer is counting down now.
    bool isRunning(TimerId timer) const;
    int interval(TimerId timer) const;

private:
    struct Slot {
        QTimer timer;
        int interval = 0;
        bool enabled = false;
        std::function<void()> handler;
    };
    Slot& slot(TimerId timer);
    const Slot& slot(TimerId timer) const;
    static void apply(Slot& slot);

    std::array<Slot, 7> m_slots;  // one per TimerId
};

}  // namespace mivo
