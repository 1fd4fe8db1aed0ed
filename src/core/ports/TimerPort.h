#pragma once
// The window timers. The program sets their interval and enabled state; the
// platform calls the bound handler on each tick, on the program's thread.

#include <functional>

namespace mivo {

enum class TimerId {
    Timer1,         // the check tick
    Timer2,         // 100 ms, the first-activation step
    Timer3,         // 2 s, taskbar entry removal
    UninstallStep,  // 500 ms, the uninstall window's steps
    // Not a window timer: wakes the check when an open connection may have
    // stayed silent too long, or a finished one has not closed.
    ConnectionWatch,
    // The new-mail and urgent notice windows' own Timer1, each running only
    // while its window is shown.
    NewMailAnimation,     // 100 ms, the next picture of the animation
    UrgentNoticeStripes,  // 300 ms, the stripes and the Continue button
};

class TimerPort {
public:
    virtual ~TimerPort() = default;
    virtual void setInterval(TimerId timer, int milliseconds) = 0;
    virtual void setEnabled(TimerId timer, bool enabled) = 0;
    // The operation a tick runs; bound once while the program is built.
    virtual void setHandler(TimerId timer, std::function<void()> handler) = 0;
};

}  // namespace mivo
