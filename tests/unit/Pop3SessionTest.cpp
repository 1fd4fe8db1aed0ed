#include <gtest/gtest.h>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;
using Lines = std::vector<std::string>;

constexpr const char* kGot = "----Got The Packet for this status-----";

TEST_F(CheckFixture, WholeCycleOverTwoAccounts) {
    setAccount(1, "bob", "s3cr3t-pw", "127.0.0.1");
    setAccount(2, "eve", "pw2", "127.0.0.2:1100");
    cycle.lastNumKnown[1] = 1;
    Mailbox bob;
    bob.stat = "+OK 3 1200";
    bob.headers = {"", "From: Ann <a@x>\r\nSubject: Hi\r\n\r\n",
                   "Subject: Second\r\n..\r\nFrom: B\r\n"};
    Mailbox eve;

    checkNow();
    const SocketHandle first = server();
    EXPECT_EQ(serve(bob),
              "USER bob\r\nPASS s3cr3t-pw\r\nSTAT\r\nUIDL\r\nTOP 2 0\r\nTOP 3 0\r\nQUIT\r\n");
    EXPECT_EQ(cycle.lastNumKnown[1], 3);
    ASSERT_NE(server(), first);
    EXPECT_EQ(sockets.socket(server()).port, 1100);
    EXPECT_EQ(serve(eve), "USER eve\r\nPASS pw2\r\nSTAT\r\nQUIT\r\n");

    const std::string summary =
        "    bob@127.0.0.1  Wed Jan 03 09:05:07 2001\r\nAnn <a@x>\tHi\r\nB\tSecond\r\n";
    const Lines expected = {
        "1 - Connecting to host", "###Got Connection", "TCP CONNECTED.",
        // greeting, USER, PASS
        kGot, "2 - Sending USER(\r\nUSER bob\r\n", kGot, "3 - Sending PASS(I wont say!)", kGot,
        "5 - Sending STAT.",
        // STAT, then UIDL, which this server refuses
        kGot, "5 - Sending UIDL.", kGot, "5 - STAT recieved.\r\n", "Values ::", "VA1",
        "numonser 3 lastNumKnown[Account] 1  TOP 2 0\r\n", "AV2",
        "A - Begin Retriveing List of New EMAILS.", "VA3",
        "A - Requesting subject and from for \r\nTOP 2 0\r\n",
        // message 2
        kGot, "B - Recieved Octet notification, waiting for data.", kGot,
        "B - Recieved data, processing...", "-----Data extracted from file-----",
        "-----EODEFF-----", "Values ::", "numonser 3 old\"2 lastk2 TOP 3 0\r\n",
        "A - Requesting subject and from for \r\nTOP 3 0\r\n",
        // message 3: ".." does not end the headers
        kGot, "B - Recieved Octet notification, waiting for data.", kGot,
        "B - Recieved data, processing...", "-----Data extracted from file-----",
        "-----EODEFF-----", "Values ::", "numonser 3 old\"3 lastk3 TOP 4 0\r\n",
        "B - We have recieved all of the EMAILS.", "7 - Logging out with mail.",
        // QUIT, close
        kGot, "0 - Nothing Happening got new mail.\r\n", "###Channel Closing", " TCP closed",
        // account 2 has nothing new
        "1 - Connecting to host", "###Got Connection", "TCP CONNECTED.", kGot,
        "2 - Sending USER(\r\nUSER eve\r\n", kGot, "3 - Sending PASS(I wont say!)", kGot,
        "5 - Sending STAT.", kGot, "5 - STAT recieved.\r\n", "Values ::", "VA1",
        "numonser 0 lastNumKnown[Account] 0  TOP 1 0\r\n", "AV2",
        "5 - There are no new emails.\r\n", "6 - Logging out.\r\n", kGot, "0 - Nothing Happening.",
        "###Channel Closing", " TCP closed",
        // accounts 3..8 are empty
        "No User details for this account.", "3", "No User details for this account.", "4",
        "No User details for this account.", "5", "No User details for this account.", "6",
        "No User details for this account.", "7", "No User details for this account.", "8",
        summary};
    EXPECT_EQ(logWithoutTicks(), expected);
    for (const std::string& line : logLines) {
        EXPECT_EQ(line.find("s3cr3t-pw"), std::string::npos) << line;
    }

    EXPECT_EQ(accounts.Memon[1].get(), "Ann <a@x>\tHi\r\nB\tSecond\r\n");
    EXPECT_EQ(accounts.Memon[2].get(), "");
    EXPECT_EQ(cycle.Account, 0);
    EXPECT_TRUE(captioned("(1)(bob)Checking for new mail - Mivo"));
    EXPECT_TRUE(captioned("(1)(bob)(2 of 3) Getting new Mail - Mivo"));
    EXPECT_TRUE(captioned("(1)(bob)(3 of 3) Getting new Mail - Mivo"));
    EXPECT_EQ(ui.applicationTitles.back(), "New Mail - Mivo");
    EXPECT_EQ(program.newMailWindow().Memo1.get(), summary);
    EXPECT_TRUE(program.newMailWindow().bringAppToFront.get());
    EXPECT_TRUE(window.NewMailOpen);
    // Once for the main window's option, once by the new-mail window's own
    // copy of it as the window comes up with its list.
    EXPECT_EQ(ui.calls, (Lines{"front", "front", "show 4"}));
}

// What follows the STAT reply, by the count it gives and what is known.
TEST_F(CheckFixture, StatCountAgainstMessagesAlreadySeen) {
    struct Case {
        const char* name;
        int known;
        const char* stat;
        bool countOnly;
        const char* afterStat;  // the client's commands after STAT
        int knownAfter;
        const char* list;  // the account's new-mail list afterwards
    };
    const Case cases[] = {
        {"shrunk mailbox: all new", 5, "+OK 2 800", false, "UIDL\r\nTOP 1 0\r\nTOP 2 0\r\nQUIT\r\n",
         2, "a\tNo Subject\r\nNo From\tNo Subject\r\n"},
        {"nothing new", 4, "+OK 4 100", false, "UIDL\r\nQUIT\r\n", 4, ""},
        {"count only", 4, "+OK 7 100", true, "UIDL\r\nQUIT\r\n", 7, "3 New Emails!\r\n"},
        {"count only, nothing new", 7, "+OK 7 100", true, "UIDL\r\nQUIT\r\n", 7, ""},
        {"hex count", 0, "+OK 0x1 9", false, "UIDL\r\nTOP 1 0\r\nQUIT\r\n", 1, "a\tNo Subject\r\n"},
        // An empty mailbox has no ids to list.
        {"empty", 3, "+OK 0 0", false, "QUIT\r\n", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.mainWindow().Button2Click();
        setAccount(1, "u", "p", "127.0.0.1");
        cycle.lastNumKnown[1] = c.known;
        accounts.Memon[1].set("stale\r\n");
        window.NewMLevelNumber.set(c.countOnly);
        Mailbox box;
        box.stat = c.stat;
        box.headers = {"From:a\r\n", "X-Other: 1\r\n"};
        checkNow();
        const std::string transcript = serve(box);
        EXPECT_EQ(transcript.substr(transcript.find("STAT\r\n") + 6), c.afterStat);
        EXPECT_EQ(cycle.lastNumKnown[1], c.knownAfter);
        EXPECT_EQ(accounts.Memon[1].get(), c.list);
    }
}

TEST_F(CheckFixture, ServerErrorsQuitAndReportTheAnswer) {
    setAccount(1, "bob", "pw", "127.0.0.1:2110");

    // A refused greeting goes to the accounts dialog.
    checkNow();
    accept();
    say("-ERR go away\r\n");
    EXPECT_EQ(sent(), "QUIT\r\n");
    EXPECT_EQ(window.Memo2.get(),
              "8 - ERROR Occured at stage : 1 - Connecting to host : Quitting\r\n");
    // The answer keeps its line end, so the memo gets an empty line after it.
    EXPECT_EQ(accounts.Errors.get(), "Account #1 ERROR = -ERR go away\r\n\r\n");
    EXPECT_EQ(ui.applicationTitles.back(), "Account #1 ERROR = -ERR go away\r\n");
    EXPECT_TRUE(logged("Account #1 ERROR = -ERR go away\r\n"));
    EXPECT_TRUE(accounts.numberRed[1].get());
    EXPECT_TRUE(ui.isWindowVisible(WindowId::Accounts));
    EXPECT_TRUE(cycle.accountError[1]);
    EXPECT_FALSE(cycle.settingsOk);
    sockets.serverCloses(server());

    // A rejected password shows the answer in the caption; the server's +OK
    // to QUIT then runs the error path again with both lines.
    program.mainWindow().Button2Click();
    accounts.Errors.set("");
    cycle.CCW[1] = false;
    checkNow();
    accept();
    say("+OK\r\n+OK\r\n-ERR bad password\r\n");
    EXPECT_EQ(sent(), "USER bob\r\nPASS pw\r\nQUIT\r\n");
    EXPECT_EQ(ui.applicationTitles.back(), "-ERR bad password\r\n - Mivo");
    EXPECT_EQ(accounts.Errors.get(), "");
    say("+OK bye\r\n");
    EXPECT_EQ(sent(), "USER bob\r\nPASS pw\r\nQUIT\r\nQUIT\r\n");
    EXPECT_EQ(accounts.Errors.get(), "Account #1 ERROR = -ERR bad password\r\n+OK bye\r\n\r\n");
    EXPECT_EQ(window.Memo2.get().rfind("8 - ERROR Occured at stage : 8 - ERROR Occured", 0), 0u);

    // The conversation is over: what the server still says is neither
    // gathered nor logged, and a server that keeps the line open is closed
    // after two seconds, as an orderly end.
    const std::string errors = accounts.Errors.get();
    logLines.clear();
    for (int i = 0; i < 100; ++i) {
        say("+OK more\r\n");
    }
    EXPECT_EQ(sent(), "USER bob\r\nPASS pw\r\nQUIT\r\nQUIT\r\n");
    EXPECT_EQ(accounts.Errors.get(), errors);
    EXPECT_TRUE(logLines.empty());
    passTime(1999);
    EXPECT_TRUE(cycle.connected);
    passTime(1);
    EXPECT_FALSE(cycle.connected);
    EXPECT_TRUE(sockets.socket(server()).closed);
    EXPECT_TRUE(logged("###Channel Closing"));
    // The cycle ends with the refusal, not with the answer to its QUIT.
    EXPECT_EQ(ui.applicationTitles.back(), "-ERR bad password\r\n - Mivo");
}

// A connection that ends with an error text, before the server ever greeted
// this account and after.
TEST_F(CheckFixture, FailedConnectionsBlameTheAccountOnlyBeforeItsFirstGreeting) {
    struct Case {
        const char* name;
        const char* pop;
        bool greetedBefore;
        const char* caption;
    };
    const Case cases[] = {
        {"refused", "127.0.0.1:2110", false, "(bob)Select failed () Connection Refused\n - Mivo"},
        {"refused, greeted before", "127.0.0.1:2110", true, "Network Inactive - Mivo"},
        {"lookup failed", "no such host", false, "(bob)Host Lookup Failed - Mivo"},
        {"lookup failed, greeted before", "no such host", true, "Network Inactive - Mivo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        program.mainWindow().Button2Click();
        accounts.Errors.set("");
        for (Field<bool>& red : accounts.numberRed) {
            red.set(false);
        }
        ui.visible.clear();
        setAccount(1, "bob", "pw", c.pop);
        cycle.CCW[1] = c.greetedBefore;
        checkNow();
        if (sockets.lookups.empty()) {
            sockets.connectFails(server(), 10061);
        } else {
            sockets.completeLookup(sockets.lookups.size() - 1, std::nullopt);
            sockets.lookups.clear();
        }
        EXPECT_TRUE(captioned(c.caption));
        const std::string error =
            std::string("Account #1 Error while opening connection to host (") + c.pop + ")\r\n";
        EXPECT_EQ(accounts.Errors.get(), c.greetedBefore ? "" : error);
        EXPECT_EQ(accounts.numberRed[1].get(), !c.greetedBefore);
        EXPECT_EQ(ui.isWindowVisible(WindowId::Accounts), !c.greetedBefore);
        // The cycle went on to the empty accounts and ended.
        EXPECT_EQ(cycle.Account, 0);
        EXPECT_FALSE(cycle.connecting);
    }
}

TEST_F(CheckFixture, LongUserNamesAndPasswordsAlwaysEndTheirLine) {
    const std::string user(300, 'u');
    const std::string password(120, 'p');
    setAccount(1, user, password, "127.0.0.1");
    checkNow();
    accept();
    say("+OK\r\n+OK\r\n+OK\r\n");
    EXPECT_EQ(sent(), "USER " + user.substr(0, 200) + "\r\nPASS " + password + "\r\nSTAT\r\n");
}

TEST_F(CheckFixture, ClosingDuringACheckQuitsAfterTheCurrentMessage) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    checkNow();
    accept();
    say("+OK\r\n+OK\r\n+OK\r\n+OK 2 9\r\n-ERR\r\n+OK\r\nSubject: s\r\n");
    EXPECT_FALSE(program.mainWindow().FormCloseQuery());
    say(".\r\n");
    EXPECT_EQ(window.Memo2.get(), "7 - Logging out, application is terminating <sniff>.");
    EXPECT_EQ(sent(), "USER bob\r\nPASS pw\r\nSTAT\r\nUIDL\r\nTOP 1 0\r\nQUIT\r\n");
    EXPECT_FALSE(ui.terminated);
    say("+OK\r\n");
    sockets.serverCloses(server());
    EXPECT_TRUE(ui.terminated);
    // Message 2 was never asked for: the next check takes it up.
    EXPECT_EQ(cycle.lastNumKnown[1], 1);
}

TEST_F(CheckFixture, AResponseThatNeverEndsIsHeldOnlyUpToItsLimit) {
    // Two megabytes of header lines in one TOP response: collected up to the
    // limit, and the closing "." still completes it.
    std::string headers;
    for (int line = 0; line < 20000; ++line) {
        headers += "X-Padding: " + std::string(90, 'p') + "\r\n";
    }
    headers += "From: last@example.org\r\n";
    Mailbox box;
    box.stat = "+OK 1 2000000";
    box.headers = {headers};
    setAccount(1, "alice", "secret", "127.0.0.1");
    checkNow();
    serve(box);
    EXPECT_LE(window.Memo1.get().size(), ReplyCollector::kLimit + 200);
    EXPECT_EQ(accounts.Memon[1].get(), "No From\tNo Subject\r\n");
    EXPECT_TRUE(captioned("New Mail - Mivo"));
}

}  // namespace
}  // namespace mivo
