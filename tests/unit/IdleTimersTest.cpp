// What runs while the program waits for its next check: the check tick
// alone. Every other timer stops once its work is done, whichever way the
// last check ended, so an idle program sleeps between the clock's ticks.

#include <functional>
#include <set>
#include <string>

#include "CheckFixture.h"

namespace mivo::test {
namespace {

std::set<TimerId> running(const FakeTimers& timers) {
    std::set<TimerId> ids;
    for (const auto& [id, timer] : timers.timers) {
        if (timer.enabled && timer.interval > 0) {
            ids.insert(id);
        }
    }
    return ids;
}

TEST(IdleTimers, BetweenChecksOnlyTheCheckTickRuns) {
    struct Case {
        const char* name;
        std::function<void(ProgramOnFakes&)> endCheck;
    };
    const Case cases[] = {
        {"served", [](ProgramOnFakes& p) { p.serve(Mailbox{}); }},
        {"refused", [](ProgramOnFakes& p) { p.sockets.connectFails(p.server(), 10061); }},
        {"reset",
         [](ProgramOnFakes& p) {
             p.accept();
             p.sockets.serverResets(p.server());
         }},
        {"silent", [](ProgramOnFakes& p) {
             p.accept();
             p.passTime(120000);
         }}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramOnFakes p;
        p.program.mainWindow().FormActivate();
        p.timers.tick(TimerId::Timer2);  // the first activation's step
        p.setAccount(1, "ann", "secret", "127.0.0.1");
        p.checkNow();
        c.endCheck(p);
        ASSERT_EQ(p.cycle.Account, 0) << "the cycle is over";
        EXPECT_EQ(running(p.timers), std::set<TimerId>{TimerId::Timer1});
    }
}

}  // namespace
}  // namespace mivo::test
