#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "qt/QtTimers.h"

namespace mivo {
namespace {

TEST(QtTimers, RunOnlyWhileEnabledWithAnInterval) {
    QtTimers timers;
    EXPECT_FALSE(timers.isRunning(TimerId::Timer2));
    timers.setEnabled(TimerId::Timer2, true);
    EXPECT_FALSE(timers.isRunning(TimerId::Timer2));  // interval 0 never fires
    timers.setInterval(TimerId::Timer2, 100);
    EXPECT_TRUE(timers.isRunning(TimerId::Timer2));
    timers.setEnabled(TimerId::Timer2, false);
    EXPECT_FALSE(timers.isRunning(TimerId::Timer2));
    EXPECT_EQ(timers.interval(TimerId::Timer2), 100);
    EXPECT_FALSE(timers.isRunning(TimerId::Timer1));
}

TEST(QtTimers, EveryTimerOfTheProgramCanRun) {
    QtTimers timers;
    for (const TimerId timer :
         {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3, TimerId::UninstallStep,
          TimerId::ConnectionWatch, TimerId::NewMailAnimation, TimerId::UrgentNoticeStripes}) {
        timers.setInterval(timer, 100);
        timers.setEnabled(timer, true);
        EXPECT_TRUE(timers.isRunning(timer)) << static_cast<int>(timer);
    }
}

TEST(QtTimers, TicksRunTheHandlerBoundLastAndMayRebindTheTimer) {
    QtTimers timers;
    int ticks = 0;
    timers.setHandler(TimerId::Timer3, [&] { ticks = -1; });
    timers.setHandler(TimerId::Timer3, [&] {
        ++ticks;
        timers.setInterval(TimerId::Timer3, 1);  // from inside its own tick
    });
    timers.setInterval(TimerId::Timer3, 5);
    timers.setEnabled(TimerId::Timer3, true);
    QElapsedTimer hangGuard;
    hangGuard.start();
    while (ticks < 3 && hangGuard.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(timers.interval(TimerId::Timer3), 1);
}

}  // namespace
}  // namespace mivo
