// How long the check holds a connection: the silence watch on the monotonic
// clock, and the close after the conversation is over.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "CheckFixture.h"
#include "text/MemoText.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;

// Seventy-five ticks of the interval, but never more than a minute; only
// complete lines count as life, and clicks or repaints never count at all.
TEST_F(CheckFixture, ASilentConnectionIsGivenUpOnRealTime) {
    struct Case {
        const char* name;
        const char* minutes;
        std::int64_t limit;  // milliseconds
        bool greeted;
        const char* caption;
    };
    const Case cases[] = {
        {"one minute, after the greeting", "1", 22500, true, "Network Inactive - Mivo"},
        {"one minute, before the greeting", "1", 22500, false,
         "(bob)Select failed () Timedout\n - Mivo"},
        {"twenty minutes: at most a minute", "20", 60000, true, "Network Inactive - Mivo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.mainWindow().Button2Click();
        window.Edit1.set(c.minutes);
        setAccount(1, "bob", "pw", "127.0.0.1");
        cycle.CCW[1] = false;  // Reset leaves every account marked as reached
        checkNow();
        accept();
        const SocketHandle silent = server();
        if (c.greeted) {
            passTime(c.limit - 1);
            say("+OK hello\r\n");  // a whole line: the silence starts again
        }
        // Bytes without a line end, ticks and clicks are no sign of life.
        for (int i = 0; i < 10; ++i) {
            passTime(c.limit / 10 - (i == 9 ? 1 : 0));
            say("x");
            tick();
            window.CheckBox2.set(!window.CheckBox2.get());
        }
        EXPECT_TRUE(cycle.connected);
        passTime(1);
        EXPECT_FALSE(cycle.connected);
        EXPECT_TRUE(sockets.socket(silent).closed);
        EXPECT_TRUE(captioned(c.caption));
        EXPECT_EQ(accounts.Errors.get(), "");
        EXPECT_EQ(cycle.Account, 0);  // the remaining accounts were checked
        EXPECT_TRUE(logged("###Channel Closing"));
        window.CheckBox2.set(true);
    }
}

TEST_F(CheckFixture, ASlowButWellFormedServerIsFollowedToTheEnd) {
    window.Edit1.set("1");  // 22.5 s of silence at most
    setAccount(1, "bob", "pw", "127.0.0.1");
    checkNow();
    accept();
    const std::string conversation[] = {
        "+OK hi\r\n", "+OK\r\n", "+OK\r\n",           "+OK 1 20\r\n", "+OK\r\n",    "1 slow-id\r\n",
        ".\r\n",      "+OK\r\n", "Subject: slow\r\n", ".\r\n",        "+OK bye\r\n"};
    for (const std::string& line : conversation) {
        // One byte a second, each line whole within the limit.
        for (char byte : line) {
            passTime(1000);
            say(std::string(1, byte));
        }
    }
    sockets.serverCloses(server());
    EXPECT_EQ(sent(), "USER bob\r\nPASS pw\r\nSTAT\r\nUIDL\r\nTOP 1 0\r\nQUIT\r\n");
    EXPECT_EQ(ui.applicationTitles.back(), "New Mail - Mivo");
    EXPECT_EQ(program.newMailWindow().Memo1.get(),
              "    bob@127.0.0.1  Wed Jan 03 09:05:07 2001\r\nNo From\tslow\r\n");
}

// A server that keeps talking without ever finishing its reply holds the
// account no longer than a silent one would be held: two minutes for a
// status line or a message's headers.
TEST_F(CheckFixture, AReplyThatNeverEndsIsGivenUpAfterTwoMinutes) {
    struct Case {
        const char* name;
        std::vector<std::string> before;  // the conversation up to the endless reply
        const char* chatter;              // a whole line, every 5 s, that ends nothing
        const char* sentLast;
        const char* caption;
    };
    const Case cases[] = {
        // Never greeted, the account is blamed as for a silent server.
        {"the greeting", {}, "* hello\r\n", "", "(bob)Select failed () Timedout\n - Mivo"},
        {"the answer to USER",
         {"+OK\r\n"},
         "* wait\r\n",
         "USER bob\r\n",
         "Network Inactive - Mivo"},
        // Lines that would make the listing ever longer are not kept.
        {"the listing of message ids",
         {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 9\r\n", "+OK\r\n"},
         "1 same-id-again\r\n",
         "UIDL\r\n",
         "Network Inactive - Mivo"},
        {"a message's headers",
         {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 9\r\n", "-ERR\r\n", "+OK\r\n"},
         "X-Header: more\r\n",
         "TOP 1 0\r\n",
         "Network Inactive - Mivo"},
        {"the answer to CAPA",
         {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 5 9\r\n", "-ERR\r\n", "+OK\r\n"},
         "X-CAPABILITY\r\n",
         "CAPA\r\n",
         "Network Inactive - Mivo"},
        {"headers asked ahead",
         {"+OK\r\n", "+OK\r\n", "+OK\r\n", "+OK 5 9\r\n", "-ERR\r\n", "+OK\r\nPIPELINING\r\n.\r\n",
          "+OK\r\n"},
         "X-Header: more\r\n",
         "TOP 5 0\r\n",
         "Network Inactive - Mivo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.mainWindow().Button2Click();
        setAccount(1, "bob", "pw", "127.0.0.1");
        cycle.CCW[1] = false;  // Reset leaves every account marked as reached
        checkNow();
        accept();
        const SocketHandle endless = server();
        for (const std::string& reply : c.before) {
            say(reply);
        }
        const std::string sentBefore = sent();
        EXPECT_TRUE(sentBefore.ends_with(c.sentLast)) << sentBefore;
        for (int waited = 0; waited < 115000; waited += 5000) {
            passTime(5000);
            say(c.chatter);
        }
        passTime(4999);
        EXPECT_TRUE(cycle.connected);
        EXPECT_EQ(sent(), sentBefore);
        passTime(1);
        EXPECT_FALSE(cycle.connected);
        EXPECT_TRUE(sockets.socket(endless).closed);
        EXPECT_TRUE(captioned(c.caption));
        EXPECT_EQ(cycle.Account, 0);  // and the other accounts were checked
    }
}

// A download may take as long as it needs while it comes at 1 KiB a second
// or faster; a minute below that gives it up.
TEST_F(CheckFixture, ADownloadIsFollowedWhileItKeepsAtLeastAKibibyteASecond) {
    struct Case {
        const char* name;
        std::size_t bytesPerSecond;
        int seconds;  // how long the message takes, or is fed before it is given up
        bool finished;
    };
    const Case cases[] = {
        {"steady at 1.1 KiB/s for ten minutes", 1130, 600, true},
        {"a trickle of 900 bytes a second", 900, 60, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.mainWindow().Button2Click();
        setAccount(1, "bob", "pw", "127.0.0.1");
        window.UseRule = true;
        window.SBn[1].itemIndex.set(3);  // From
        window.En[1].set("ann");
        window.DLn[1].set(true);
        window.RunFilen[1].set("");
        window.TEMPDIR.set("/temp");
        checkNow();
        accept();
        const SocketHandle slow = server();
        const std::size_t filesBefore = downloads.files.size();
        say("+OK\r\n+OK\r\n+OK\r\n+OK 1 9\r\n-ERR\r\n+OK\r\nFrom: ann\r\n.\r\n");
        ASSERT_TRUE(sent().ends_with("RETR 1\r\n")) << sent();
        say("+OK\r\n");
        // One line a second, line end included.
        const std::string line = std::string(c.bytesPerSecond - 2, 'm') + "\r\n";
        for (int second = 1; second < c.seconds; ++second) {
            passTime(1000);
            say(line);
        }
        EXPECT_TRUE(cycle.connected);
        passTime(1000);
        EXPECT_EQ(cycle.connected, c.finished);
        if (c.finished) {
            say(line + ".\r\n");
            EXPECT_TRUE(sent().ends_with("QUIT\r\n")) << sent();
            say("+OK bye\r\n");
            sockets.serverCloses(slow);
            EXPECT_EQ(downloads.files.size(), filesBefore + 1);
        } else {
            EXPECT_TRUE(sockets.socket(slow).closed);
            EXPECT_TRUE(captioned("Network Inactive - Mivo"));
            EXPECT_EQ(downloads.files.size(), filesBefore);
        }
        EXPECT_EQ(cycle.Account, 0);
    }
}

// Headers asked for ahead are each given their two minutes from when the
// answer before was read, as they would be asked one at a time: a server
// that takes 100 s over every answer is slow, not stuck.
TEST_F(CheckFixture, EachAnswerToHeadersAskedAheadHasTwoMinutesOfItsOwn) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    checkNow();
    accept();
    say("+OK\r\n+OK\r\n+OK\r\n+OK 5 9\r\n-ERR\r\n+OK\r\nPIPELINING\r\n.\r\n");
    ASSERT_TRUE(sent().ends_with("TOP 5 0\r\n")) << sent();
    for (int message = 1; message <= 5; ++message) {
        say("+OK\r\n");
        for (int waited = 0; waited < 100000; waited += 5000) {
            passTime(5000);
            say("X-Header: more\r\n");
        }
        ASSERT_TRUE(cycle.connected) << "message " << message;
        say("Subject: slow\r\n.\r\n");
    }
    EXPECT_TRUE(sent().ends_with("QUIT\r\n")) << sent();
    say("+OK bye\r\n");
    EXPECT_EQ(memo::lineCount(accounts.Memon[1].get()), 5);
}

// Once QUIT is answered the server has nothing more to say: its lines are
// ignored, and a server that does not hang up is hung up on.
TEST_F(CheckFixture, AfterQuitIsAnsweredTheServerIsNotListenedToAndIsClosedSoon) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    setAccount(2, "eve", "pw", "127.0.0.2");
    checkNow();
    accept();
    say("+OK\r\n+OK\r\n+OK\r\n+OK 0 0\r\n+OK bye\r\n");
    const SocketHandle lingering = server();
    logLines.clear();
    for (int i = 0; i < 1000; ++i) {
        say("+OK chatter\r\n");
    }
    EXPECT_TRUE(logLines.empty());
    passTime(1999);
    EXPECT_FALSE(sockets.socket(lingering).closed);
    passTime(1);
    EXPECT_TRUE(sockets.socket(lingering).closed);
    EXPECT_EQ(logWithoutTicks().front(), "###Channel Closing");
    // An orderly end: no blame, and the cycle goes on to account 2.
    EXPECT_EQ(cycle.Account, 2);
    EXPECT_TRUE(cycle.settingsOk);
    EXPECT_NE(server(), lingering);
}

}  // namespace
}  // namespace mivo
