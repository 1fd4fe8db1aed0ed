#include <gtest/gtest.h>

#include <algorithm>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;
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
    EXPECT_TRUE(accounts.numberRed[1].get());
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
    program.mainWindow().Button2Click();
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

// An open that fails at once is told like a refused connection, and the
// cycle stops at that account until the next Check now.
TEST_F(CheckFixture, OpenFailingAtOnceIsReportedAndStopsTheCycleThere) {
    struct Case {
        const char* name;
        const char* pop;
        int createError;
        int connectError;  // what the platform says to the address
        bool greetedBefore;
        bool terminating;
        const char* caption;
    };
    const Case cases[] = {
        {"socket fails", "127.0.0.1", 10055, 0, false, true,
         "(bob)Select failed () The Windows Sockets implementation reports a buffer deadlock.\n"
         " - Mivo"},
        {"all-ones address", "255.255.255.255", 0, 10049, false, false,
         "(bob)Select failed () Address not avail\n - Mivo"},
        {"dotted text that is no address", "1.2.3.999", 0, 10049, false, false,
         "(bob)Select failed () Address not avail\n - Mivo"},
        {"greeted before", "255.255.255.255", 0, 10049, true, false, "Network Inactive - Mivo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeUi freshUi;
        test::FakeSocketPort freshSockets;
        Program fresh{Ports{freshUi, clock, timers, freshSockets, settings, random, processes,
                            installation, downloads}};
        fresh.bringIntoService();
        std::vector<std::string> lines;
        fresh.log().onAppend([&](std::string_view text) { lines.emplace_back(text); });
        freshSockets.createError = c.createError;
        if (c.connectError != 0) {
            freshSockets.connectError = c.connectError;
        }
        fresh.cycleState().terminating = c.terminating;
        test::enterAccount(fresh, 1, "bob", "pw", c.pop);
        fresh.cycleState().CCW[1] = c.greetedBefore;
        fresh.mainWindow().Button4Click();

        const std::string error =
            std::string("Account #1 Error while opening connection to host (") + c.pop + ")";
        Lines expected = {"1 - Connecting to host", "Timer 1 called"};
        if (!c.greetedBefore) {
            expected.push_back(error);
        }
        expected.insert(expected.end(), {"###Channel Closing", " TCP closed", "Timer 1 called"});
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(freshUi.applicationTitles.back(), c.caption);
        EXPECT_EQ(fresh.accountsDialog().Errors.get(), c.greetedBefore ? "" : error + "\r\n");
        EXPECT_EQ(fresh.accountsDialog().numberRed[1].get(), !c.greetedBefore);
        EXPECT_EQ(fresh.cycleState().accountError[1], !c.greetedBefore);
        EXPECT_TRUE(freshSockets.lookups.empty());
        EXPECT_FALSE(fresh.cycleState().connecting);
        EXPECT_EQ(fresh.cycleState().Account, 1);
        EXPECT_EQ(freshUi.terminated, c.terminating);
    }
}

// The red number of an account that failed stays until that account is
// checked again, through the Check now that goes on to the next account.
TEST_F(CheckFixture, AnAccountsErrorFlagLastsUntilItIsCheckedAgain) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    setAccount(2, "eve", "pw", "127.0.0.2");
    cycle.CCW[1] = false;
    checkNow();
    sockets.connectFails(server(), 10061);
    EXPECT_TRUE(cycle.accountError[1]);
    EXPECT_EQ(cycle.Account, 2);
    EXPECT_TRUE(cycle.accountError[1]);
    serve(Mailbox{});
    EXPECT_EQ(cycle.Account, 0);
    EXPECT_TRUE(cycle.accountError[1]);
    EXPECT_FALSE(cycle.accountError[2]);
    setAccount(1, "bob", "pw", "127.0.0.1");
    cycle.accountError[1] = true;  // editing cleared it; set it as a failure would
    checkNow();
    EXPECT_FALSE(cycle.accountError[1]);
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
    program.mainWindow().Button2Click();
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

// Reset in the middle of a rule's download: what was written of the
// message goes with the connection.
TEST_F(CheckFixture, ResetDuringADownloadLeavesNoFile) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    window.UseRule = true;
    window.SBn[1].itemIndex.set(3);  // From
    window.En[1].set("ann");
    window.DLn[1].set(true);
    window.TEMPDIR.set("/temp");
    checkNow();
    accept();
    say("+OK\r\n");
    say("+OK\r\n");
    say("+OK\r\n");
    say("+OK 1 9\r\n");
    say("-ERR\r\n");  // UIDL
    say("+OK\r\nFrom: ann\r\n.\r\n");
    say("+OK\r\nFrom: ann\r\nhalf of it\r\n");
    ASSERT_NE(sent().find("RETR 1\r\n"), std::string::npos) << sent();
    ASSERT_EQ(downloads.open, 1u);
    program.mainWindow().Button2Click();
    EXPECT_EQ(downloads.open, 0u);
    EXPECT_EQ(downloads.events, (Lines{"start /temp/Mivo0.txt", "drop /temp/Mivo0.txt"}));
    EXPECT_TRUE(downloads.files.empty());
}

// Typing applies the interval at once without touching the text; leaving
// the box shows one minute where the text reads as less.
// The rule program fields hold nothing until the user chooses a program,
// not the controls' design texts "RunFile1".."RunFile3".
TEST_F(CheckFixture, ARuleTickedBeforeAnySettingsStartsNoProgram) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    window.UseRule = true;
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.SBn[rule].itemIndex.set(3);  // From
        window.En[rule].set("ann");
        window.Urgentn[rule].set(true);
    }
    Mailbox box;
    box.stat = "+OK 1 9";
    box.headers = {"From: ann\r\nSubject: hello\r\n"};
    checkNow();
    serve(box);
    EXPECT_TRUE(cycle.urgent || ui.isWindowVisible(WindowId::UrgentNotice)) << "the rule matched";
    EXPECT_TRUE(processes.starts.empty());
}

TEST_F(CheckFixture, IntervalFromEdit1) {
    struct Case {
        const char* text;
        const char* textAfterLeaving;
        int tickMilliseconds;
    };
    const Case cases[] = {
        {"0", "1", 300},
        {"abc", "1", 300},
        {"08", "1", 300},  // octal digits only up to 7: reads as 0
        {"", "1", 300},
        {"-3", "1", 300},
        {"0x2", "0x2", 600},
        {"5 minutes", "5 minutes", 1500},
        // The longest interval that fits; more is taken as that.
        {"35791", "35791", 10737300},
        {"35792", "35792", 10737300},
        {"99999999999", "99999999999", 10737300},
        // Only the first 49 characters are read.
        {"                                                 7", "1", 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        window.Edit1.set("20");
        logLines.clear();
        window.Edit1.set(c.text);
        EXPECT_EQ(window.Edit1.get(), c.text);
        EXPECT_EQ(timers.timers[TimerId::Timer1].interval, c.tickMilliseconds);
        EXPECT_TRUE(timers.timers[TimerId::Timer1].enabled);
        EXPECT_EQ(logLines, Lines{"Timer Activated!!"});
        program.mainWindow().Edit1Exit();
        EXPECT_EQ(window.Edit1.get(), c.textAfterLeaving);
        EXPECT_EQ(timers.timers[TimerId::Timer1].interval, c.tickMilliseconds);
    }
    // Clearing the box to type 5 gives 5, not 15.
    window.Edit1.set("");
    window.Edit1.set("5");
    EXPECT_EQ(timers.timers[TimerId::Timer1].interval, 1500);
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
    program.mainWindow().Button2Click();
    window.CheckBox2.set(false);
    window.TickCount = 200;
    const std::size_t socketsBefore = sockets.sockets.size();
    tick();
    EXPECT_EQ(window.TickCount, 0);
    EXPECT_EQ(sockets.sockets.size(), socketsBefore);
}

TEST_F(CheckFixture, NewMailJoinsAnOpenNewMailWindow) {
    window.NewMailOpen = true;
    program.newMailWindow().Memo1.set("old\r\n");
    ui.visible[WindowId::NewMail] = true;
    cycle.urgent = true;
    setAccount(1, "bob", "pw", "127.0.0.1");
    Mailbox box;
    box.stat = "+OK 1 9";
    box.headers = {"From: a\r\nSubject: b\r\n"};
    checkNow();
    serve(box);
    const std::string summary = "    bob@127.0.0.1  Wed Jan 03 09:05:07 2001\r\na\tb\r\n";
    EXPECT_EQ(program.newMailWindow().Memo1.get(), "old\r\n" + summary);
    // On screen already: not shown again, and the urgent notice waits.
    EXPECT_EQ(ui.calls, Lines{"front"});
    EXPECT_TRUE(cycle.urgent);

    ui.minimised[WindowId::NewMail] = true;
    window.CheckBox1.set(false);
    ui.calls.clear();
    box.stat = "+OK 2 9";
    box.headers.push_back("From: c\r\n");
    checkNow();
    serve(box);
    const std::string second = "    bob@127.0.0.1  Wed Jan 03 09:05:07 2001\r\nc\tNo Subject\r\n";
    EXPECT_EQ(program.newMailWindow().Memo1.get(), "old\r\n" + summary + second);
    // The window's own copy of the option, taken when it opened, still
    // brings it to the front.
    EXPECT_EQ(ui.calls, (Lines{"front", "show 4", "show 5"}));
    EXPECT_FALSE(cycle.urgent);
}

}  // namespace
}  // namespace mivo
