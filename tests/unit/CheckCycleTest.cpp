#include <gtest/gtest.h>

#include <algorithm>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;
using Lines = std::vector<std::string>;

TEST_F(CheckFixture, EmptyAccountsAreOnlyLogged) {
    checkNow();
    Lines expected;
    for (int account = 1; account <= 8; ++account) {
        expected.push_back("No User details for this account.");
        expected.push_back(std::to_string(account));
    }
    expected.push_back("");  // the empty summary
    EXPECT_EQ(logLines, expected);
    EXPECT_EQ(ui.applicationTitles.back(), "No New Mail - Mivo");
    EXPECT_TRUE(sockets.sockets.empty());
    EXPECT_EQ(cycle.Account, 0);
    EXPECT_FALSE(window.NewMailOpen);
}

TEST_F(CheckFixture, IncompleteAccountIsReportedAndTheNextOneChecked) {
    window.Width.set(layout::kNarrowWidth);
    setAccount(1, "bob", "", "127.0.0.1");
    setAccount(2, "eve", "pw", "127.0.0.2");
    checkNow();
    EXPECT_TRUE(captioned("(1)Enter Password"));
    EXPECT_FALSE(logged("(1)Enter Password"));
    EXPECT_EQ(accounts.Errors.get(), "(1)Enter Password\r\n");
    EXPECT_TRUE(accounts.numberRed[1]);
    EXPECT_TRUE(ui.isWindowVisible(WindowId::Accounts));
    EXPECT_EQ(window.Width.get(), layout::kWideWidth);
    EXPECT_EQ(window.UserOptionsCaption.get(), "Close Options <-");
    // Account 2 is being opened in the same click.
    EXPECT_EQ(cycle.Account, 2);
    EXPECT_TRUE(cycle.connecting);
    EXPECT_EQ(window.User.get(), "eve");
    EXPECT_EQ(ui.applicationTitles.back(), "(2)(eve)Checking for new mail - Mivo");

    const std::pair<int, const char*> missing[] = {{3, "(3)Enter User Name"},
                                                   {4, "(4)Enter POP Host Name"}};
    program.mainWindow.Button2Click();
    setAccount(2, "", "", "");
    setAccount(3, "", "pw", "host");
    setAccount(4, "u", "pw", "");
    accounts.Errors.set("");
    checkNow();
    EXPECT_EQ(accounts.Errors.get(),
              "(1)Enter Password\r\n(3)Enter User Name\r\n"
              "(4)Enter POP Host Name\r\n");
    for (const auto& [account, caption] : missing) {
        EXPECT_TRUE(captioned(caption)) << account;
    }
}

TEST_F(CheckFixture, CheckNowWhileConnectingOnlySaysSo) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    setAccount(2, "eve", "pw", "127.0.0.2");
    checkNow();
    const std::size_t socketsBefore = sockets.sockets.size();
    logLines.clear();
    checkNow();
    EXPECT_EQ(logLines, Lines{"----------------Tried to log in, but already connected/connecting"
                              "------------------"});
    EXPECT_EQ(cycle.Account, 1);
    EXPECT_EQ(sockets.sockets.size(), socketsBefore);
}

TEST_F(CheckFixture, ConnectionStillOpeningAtTick75IsAbandoned) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    setAccount(2, "eve", "pw", "127.0.0.2");
    checkNow();
    const SocketHandle opening = server();
    tick(73);
    EXPECT_TRUE(cycle.connecting);
    EXPECT_FALSE(logged("Opening TCP port to POP3 Error!(Timeout)"));
    tick();
    EXPECT_EQ(window.TickCount, 75);
    EXPECT_TRUE(logged("Opening TCP port to POP3 Error!(Timeout)"));
    EXPECT_EQ(ui.applicationTitles.back(), "Opening TCP port to POP3 Error!(Timeout)");
    EXPECT_TRUE(sockets.socket(opening).closed);
    EXPECT_FALSE(cycle.connecting);
    EXPECT_EQ(cycle.Account, 1);
    // The cycle waits there; the next Check now goes on with account 2.
    checkNow();
    EXPECT_EQ(cycle.Account, 2);
    EXPECT_EQ(window.User.get(), "eve");
}

// A server that stops talking is given up 75 ticks after its last line, as
// a timed-out network would be, and the cycle goes on.
TEST_F(CheckFixture, SilentConnectionIsClosedAfter75Ticks) {
    struct Case {
        const char* name;
        bool greeted;
        const char* caption;
    };
    const Case cases[] = {
        {"after the greeting", true, "Network Inactive - Mivo"},
        {"before the greeting", false, "(bob)Select failed () Timedout\n - Mivo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.mainWindow.Button2Click();
        setAccount(1, "bob", "pw", "127.0.0.1");
        cycle.CCW[1] = false;  // Reset leaves every account marked as reached
        checkNow();
        accept();
        const SocketHandle silent = server();
        tick(50);
        if (c.greeted) {
            say("+OK hello\r\n");
            tick(40);
            say("+OK, still ");  // part of a line is a sign of life too
        }
        tick(c.greeted ? 74 : 24);
        EXPECT_TRUE(cycle.connected);
        tick();
        EXPECT_FALSE(cycle.connected);
        EXPECT_TRUE(sockets.socket(silent).closed);
        EXPECT_TRUE(captioned(c.caption));
        EXPECT_EQ(accounts.Errors.get(), "");
        EXPECT_EQ(cycle.Account, 0);  // the remaining accounts were checked
        EXPECT_TRUE(logged("###Channel Closing"));
    }
}

TEST_F(CheckFixture, OpenRefusedAtOnceStopsTheCycleAtThatAccount) {
    struct Case {
        const char* name;
        bool allSlotsTaken;
        bool terminating;
    };
    const Case cases[] = {{"no free slot", true, false}, {"socket fails", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeUi freshUi;
        test::FakeSocketPort freshSockets;
        Program fresh{Ports{freshUi, clock, timers, freshSockets}};
        fresh.transport.TcpInit();
        std::vector<std::string> lines;
        fresh.log.onAppend([&](std::string_view text) { lines.emplace_back(text); });
        if (c.allSlotsTaken) {
            for (int slot = 0; slot < 20; ++slot) {
                fresh.transport.TcpOpenSlot([](int, const char*, int) { return 0; });
            }
        } else {
            freshSockets.createError = 10055;
        }
        fresh.cycle.terminating = c.terminating;
        fresh.mainWindowModel.UserName.set("bob");
        fresh.mainWindowModel.UserPass.set("pw");
        fresh.mainWindowModel.PopServ.set("127.0.0.1");
        fresh.mainWindow.Button4Click();
        EXPECT_EQ(lines, (Lines{"1 - Connecting to host", "Timer 1 called", "###Channel Closing",
                                " TCP closed", "Timer 1 called"}));
        EXPECT_FALSE(fresh.cycle.connecting);
        EXPECT_EQ(fresh.cycle.Account, 1);
        EXPECT_EQ(freshUi.terminated, c.terminating);
    }
}

TEST_F(CheckFixture, ResetDropsTheConnectionAndEveryCount) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    checkNow();
    accept();
    const SocketHandle open = server();
    cycle.lastNumKnown = {0, 5, 6, 7, 8, 9, 10, 11, 12};
    cycle.accountError[1] = true;
    window.NewMailOpen = true;
    window.advancedOptionsOpen = true;
    logLines.clear();
    program.mainWindow.Button2Click();
    EXPECT_TRUE(sockets.socket(open).closed);
    EXPECT_FALSE(cycle.connected);
    EXPECT_EQ(cycle.Account, 0);
    for (int slot = 0; slot <= 8; ++slot) {
        EXPECT_EQ(cycle.lastNumKnown[slot], 0);
        EXPECT_FALSE(cycle.accountError[slot]);
        EXPECT_TRUE(cycle.CCW[slot]);
    }
    EXPECT_EQ(ui.calls, (Lines{"hide 4", "hide 2"}));
    EXPECT_FALSE(window.NewMailOpen);
    EXPECT_FALSE(window.advancedOptionsOpen);
    EXPECT_EQ(logLines, Lines{"Timer 1 called"});
    EXPECT_EQ(ui.applicationTitles.back(), "Mivo");
    EXPECT_EQ(window.Caption.get(), "Mivo");
}

TEST_F(CheckFixture, IntervalFromEdit1) {
    struct Case {
        const char* text;
        const char* textAfter;
        int tickMilliseconds;
        long activations;  // "Timer Activated!!" lines
    };
    const Case cases[] = {
        {"0", "1", 300, 2},
        {"abc", "1", 300, 2},
        {"08", "1", 300, 2},
        {"", "1", 300, 2},
        {"-3", "1", 300, 2},
        {"0x2", "0x2", 600, 1},
        {"5 minutes", "5 minutes", 1500, 1},
        // The longest interval that fits; more is taken as that.
        {"35791", "35791", 10737300, 1},
        {"35792", "35792", 10737300, 1},
        {"99999999999", "99999999999", 10737300, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        window.Edit1.set("20");
        logLines.clear();
        window.Edit1.set(c.text);
        EXPECT_EQ(window.Edit1.get(), c.textAfter);
        EXPECT_EQ(timers.timers[TimerId::Timer1].interval, c.tickMilliseconds);
        EXPECT_TRUE(timers.timers[TimerId::Timer1].enabled);
        EXPECT_EQ(std::count(logLines.begin(), logLines.end(), "Timer Activated!!"), c.activations);
    }
    // Only the first 49 characters are read.
    window.Edit1.set(std::string(49, ' ') + "7");
    EXPECT_EQ(window.Edit1.get(), "1");
}

TEST_F(CheckFixture, Tick201StartsATimedCheck) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    window.TickCount = 49;
    tick();
    EXPECT_EQ(ui.applicationTitles.back(), "Mivo");

    window.TickCount = 200;
    logLines.clear();
    ui.drawings = 0;
    tick();
    EXPECT_EQ(logLines, (Lines{"Timer 1 called", "Timer initiated mail check.",
                               "Time: ", "Wed Jan 03 09:05:07 2001", "checking email...",
                               "1 - Connecting to host", "Timer 1 called"}));
    EXPECT_TRUE(captioned("(1)Checking for new mail - Mivo"));
    EXPECT_TRUE(cycle.connecting);
    EXPECT_EQ(window.TickCount, 1);
    EXPECT_EQ(ui.drawings, 2);

    // With timed checks off, tick 201 only starts the count again.
    program.mainWindow.Button2Click();
    window.CheckBox2.set(false);
    window.TickCount = 200;
    const std::size_t socketsBefore = sockets.sockets.size();
    tick();
    EXPECT_EQ(window.TickCount, 0);
    EXPECT_EQ(sockets.sockets.size(), socketsBefore);
}

TEST_F(CheckFixture, NewMailJoinsAnOpenNewMailWindow) {
    window.NewMailOpen = true;
    program.newMailWindow.Memo1.set("old\r\n");
    ui.visible[WindowId::NewMail] = true;
    cycle.urgent = true;
    accounts.Memon[1].set("a\tb\r\n");
    checkNow();
    const std::string summary = "    @  Wed Jan 03 09:05:07 2001\r\na\tb\r\n";
    EXPECT_EQ(program.newMailWindow.Memo1.get(), "old\r\n" + summary);
    // On screen already: not shown again, and the urgent notice waits.
    EXPECT_EQ(ui.calls, Lines{"front"});
    EXPECT_TRUE(cycle.urgent);

    ui.minimised[WindowId::NewMail] = true;
    window.CheckBox1.set(false);
    ui.calls.clear();
    checkNow();
    EXPECT_EQ(program.newMailWindow.Memo1.get(), "old\r\n" + summary + summary);
    EXPECT_EQ(ui.calls, (Lines{"show 4", "show 5"}));
    EXPECT_FALSE(cycle.urgent);
}

}  // namespace
}  // namespace mivo
