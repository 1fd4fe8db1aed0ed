// An account that could not be checked: what the end of the cycle shows,
// the clock while its error flag is set, and timed checks after a refused
// login.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;
using test::ProgramOnFakes;

const std::string kRefusedPassword = "-ERR bad password\r\n - Mivo";
const std::string kSkipLine =
    "Account #1 not checked: the server refused its login. Edit the account or press "
    "\"Check now!\" to try it again.";

// How the server of the account being opened fails it.
using Failure = std::function<void(ProgramOnFakes&)>;

void refusePassword(ProgramOnFakes& p) {
    p.accept();
    p.say("+OK ready\r\n+OK\r\n-ERR bad password\r\n+OK Logging out\r\n");
    p.sockets.serverCloses(p.server());
}

void refuseUser(ProgramOnFakes& p) {
    p.accept();
    p.say("+OK ready\r\n-ERR no such user\r\n+OK Logging out\r\n");
    p.sockets.serverCloses(p.server());
}

void refuseStat(ProgramOnFakes& p) {
    p.accept();
    p.say("+OK ready\r\n+OK\r\n+OK\r\n-ERR mailbox locked\r\n+OK\r\n");
    p.sockets.serverCloses(p.server());
}

void refuseConnection(ProgramOnFakes& p) {
    p.sockets.connectFails(p.server(), 10061);
}

void hangUpAfterGreeting(ProgramOnFakes& p) {
    p.accept();
    p.say("+OK ready\r\n");
    p.sockets.serverCloses(p.server());
}

PenColour clockColourDrawn(const ProgramOnFakes& p) {
    return p.ui.lastDrawing.back().colour;
}

constexpr PenColour kRed{false, 255, 0, 0};

// Account 1 fails as each case says, account 2 is checked and has no mail:
// the cycle ends with account 1's own caption, never "No New Mail - Mivo".
TEST(FailedAccount, ACycleWithoutNewMailEndsWithTheCaptionOfTheFailure) {
    struct Case {
        const char* name;
        const char* pop;
        bool greetedBefore;
        Failure failure;
        std::string caption;
    };
    const Case cases[] = {
        {"password refused", "127.0.0.1", true, refusePassword, kRefusedPassword},
        {"user refused", "127.0.0.1", true, refuseUser, "-ERR no such user\r\n - Mivo"},
        {"STAT refused", "127.0.0.1", true, refuseStat,
         "Account #1 ERROR = -ERR mailbox locked\r\n"},
        {"TLS certificate refused", "pop3s://127.0.0.1", true,
         [](ProgramOnFakes& p) {
             p.sockets.tlsDone(p.server(), "TLS: certificate verify failed for 127.0.0.1", 10053);
         },
         "(bob)TLS: certificate verify failed for 127.0.0.1 - Mivo"},
        {"connection refused, never greeted", "127.0.0.1", false, refuseConnection,
         "(bob)Select failed () Connection Refused\n - Mivo"},
        {"connection refused, greeted before", "127.0.0.1", true, refuseConnection,
         "Network Inactive - Mivo"},
        {"the server hangs up without a word", "127.0.0.1", true, hangUpAfterGreeting,
         "Network Inactive - Mivo"},
        {"no password", "", true, nullptr, "(1)Enter Password"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramOnFakes p;
        p.setAccount(1, "bob", c.failure ? "pw" : "", c.failure ? c.pop : "127.0.0.1");
        p.setAccount(2, "eve", "pw", "127.0.0.2");
        p.cycle.CCW[1] = c.greetedBefore;
        p.checkNow();
        if (c.failure) {
            c.failure(p);
        }
        ASSERT_EQ(p.window.User.get(), "eve");
        p.serve(Mailbox{});

        EXPECT_EQ(p.cycle.Account, 0) << "the cycle is over";
        EXPECT_TRUE(p.captioned(c.caption));
        EXPECT_FALSE(p.captioned("No New Mail - Mivo"));
        EXPECT_EQ(p.window.Caption.get(), c.caption);
        EXPECT_EQ(p.ui.applicationTitles.back(), c.caption) << "the window title says the same";
    }
}

TEST_F(CheckFixture, NewMailOutranksAFailureAndTheLastFailureIsTheOneShown) {
    Mailbox withMail;
    withMail.stat = "+OK 1 9";
    withMail.headers = {"From: ann\r\nSubject: hello\r\n"};

    setAccount(1, "bob", "pw", "127.0.0.1");
    setAccount(2, "eve", "pw", "127.0.0.2");
    checkNow();
    refusePassword(*this);
    serve(withMail);
    EXPECT_EQ(window.Caption.get(), "New Mail - Mivo");
    EXPECT_TRUE(accounts.numberRed[1].get()) << "the failure shows in the accounts dialog";

    // Two failures and no mail: the account checked last tells.
    setAccount(3, "ann", "", "127.0.0.3");
    checkNow();
    ASSERT_EQ(window.User.get(), "bob");
    refusePassword(*this);
    serve(Mailbox{});
    EXPECT_EQ(window.Caption.get(), "(3)Enter Password");
}

TEST_F(CheckFixture, TheClockStaysRedAndTheCaptionStaysWhileAnAccountsErrorFlagIsSet) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    checkNow();
    refusePassword(*this);
    ASSERT_EQ(cycle.Account, 0);
    // Long after the cycle, with nothing connected and timed checks armed.
    ASSERT_TRUE(cycle.settingsOk);
    tick(120);
    EXPECT_EQ(clockColourDrawn(*this), kRed);
    EXPECT_EQ(window.Caption.get(), kRefusedPassword) << "tick 50 keeps a failure's caption";

    checkNow();
    serve(Mailbox{});
    tick();
    EXPECT_NE(clockColourDrawn(*this), kRed) << "the account was checked again";
    tick(48);
    EXPECT_EQ(window.Caption.get(), "Mivo");
}

// A refused login is not sent again by the timer; every other failure is
// retried. Account 2 is checked in every cycle.
TEST(FailedAccount, TimedChecksRetryEveryFailureButARefusedLogin) {
    struct Case {
        const char* name;
        Failure failure;
        bool retried;
        bool errorFlag;  // the account's number red after it
    };
    const Case cases[] = {
        {"password refused", refusePassword, false, true},
        {"user refused", refuseUser, false, true},
        {"STAT refused", refuseStat, true, true},
        {"network failure", refuseConnection, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramOnFakes p;
        p.setAccount(1, "bob", "pw", "127.0.0.1");
        p.setAccount(2, "eve", "pw", "127.0.0.2");
        p.cycle.CCW[1] = true;
        p.checkNow();
        c.failure(p);
        p.serve(Mailbox{});
        const std::string caption = p.window.Caption.get();
        const std::size_t connections = p.sockets.sockets.size();
        p.logLines.clear();

        for (int cycle = 0; cycle < 3; ++cycle) {
            p.window.TickCount = 200;
            p.tick();
            if (c.retried) {
                ASSERT_EQ(p.window.User.get(), "bob");
                c.failure(p);
            }
            ASSERT_EQ(p.window.User.get(), "eve");
            p.serve(Mailbox{});
            EXPECT_EQ(p.window.Caption.get(), caption);
        }
        EXPECT_EQ(p.sockets.sockets.size(), connections + (c.retried ? 6 : 3));
        EXPECT_EQ(std::count(p.logLines.begin(), p.logLines.end(), kSkipLine), c.retried ? 0 : 3);
        EXPECT_EQ(p.cycle.accountError[1], c.errorFlag);
    }
}

// What tries a refused login again: the user editing that account, pressing
// "Check now!", or Reset. Editing another account does not.
TEST(FailedAccount, ARefusedLoginIsTriedAgainOnlyWhenTheUserActs) {
    struct Case {
        const char* name;
        std::function<void(ProgramOnFakes&)> act;
        bool tried;
    };
    const Case cases[] = {
        {"its row edited in the accounts dialog",
         [](ProgramOnFakes& p) { p.accounts.PASSn[1].set("new password"); }, true},
        {"its field edited in the main window",
         [](ProgramOnFakes& p) { p.window.UserPass.set("new password"); }, true},
        {"Reset", [](ProgramOnFakes& p) { p.program.mainWindow().Button2Click(); }, true},
        {"another account edited", [](ProgramOnFakes& p) { p.accounts.USERn[2].set("eva"); },
         false},
        {"the accounts dialog shown",
         [](ProgramOnFakes& p) { p.program.mainWindow().MultiPopClick(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramOnFakes p;
        p.setAccount(1, "bob", "pw", "127.0.0.1");
        p.checkNow();
        refusePassword(p);
        c.act(p);
        p.window.TickCount = 200;
        p.tick();
        EXPECT_EQ(p.cycle.Account, c.tried ? 1 : 0);
        EXPECT_EQ(p.logged(kSkipLine), !c.tried);
    }

    // "Check now!" checks it at once.
    ProgramOnFakes p;
    p.setAccount(1, "bob", "pw", "127.0.0.1");
    p.checkNow();
    refusePassword(p);
    p.checkNow();
    EXPECT_EQ(p.cycle.Account, 1);
    EXPECT_TRUE(p.cycle.connecting);
    EXPECT_FALSE(p.logged(kSkipLine));
}

}  // namespace
}  // namespace mivo
