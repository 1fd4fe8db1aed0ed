// What reaches the user as new mail when a check does not go to plan: no
// message counted as seen is lost, none is announced twice, and no server
// can make the list grow without end.

#include <gtest/gtest.h>

#include "CheckFixture.h"
#include "pop3/NewMailList.h"
#include "report/CheckReports.h"
#include "text/MemoText.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;

// Message 1 was summarised, then the conversation broke off while message 2
// was asked for: message 2 counts as seen, and message 1 is announced.
TEST_F(CheckFixture, MessagesSummarisedBeforeAFailureAreStillAnnounced) {
    enum class Break { TopRefused, ServerHangsUp, ServerFallsSilent };
    const std::pair<const char*, Break> cases[] = {
        {"TOP refused", Break::TopRefused},
        {"server hangs up", Break::ServerHangsUp},
        {"server falls silent", Break::ServerFallsSilent}};
    for (const auto& [name, how] : cases) {
        SCOPED_TRACE(name);
        program.mainWindow().Button2Click();
        program.acknowledgeNewMail();
        setAccount(1, "bob", "pw", "127.0.0.1");
        checkNow();
        accept();
        say("+OK\r\n+OK\r\n+OK\r\n+OK 3 99\r\n-ERR\r\n+OK\r\nFrom: ann\r\nSubject: one\r\n."
            "\r\n");
        EXPECT_EQ(sent().substr(sent().size() - 9), "TOP 2 0\r\n");
        switch (how) {
            case Break::TopRefused:
                say("-ERR no such message\r\n+OK bye\r\n");
                sockets.serverCloses(server());
                break;
            case Break::ServerHangsUp:
                sockets.serverCloses(server());
                break;
            case Break::ServerFallsSilent:
                passTime(60000);
                break;
        }
        EXPECT_EQ(cycle.lastNumKnown[1], 2);
        EXPECT_EQ(cycle.Account, 0);
        EXPECT_EQ(ui.applicationTitles.back(), "New Mail - Mivo");
        EXPECT_EQ(program.newMailWindow().Memo1.get(),
                  "    bob@127.0.0.1  Wed Jan 03 09:05:07 2001\r\nann\tone\r\n");
    }
}

// A list already announced comes back neither from a failed check nor from
// one that found nothing, even while the new-mail window is still open.
TEST_F(CheckFixture, AFailedCheckNeverAnnouncesOldMailAgain) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    Mailbox box;
    box.stat = "+OK 1 9";
    box.headers = {"Subject: first\r\n"};
    checkNow();
    serve(box);
    ASSERT_EQ(ui.applicationTitles.back(), "New Mail - Mivo");
    const std::string announced = program.newMailWindow().Memo1.get();

    checkNow();
    sockets.connectFails(server(), 10061);  // the account's server was reached before
    EXPECT_EQ(ui.applicationTitles.back(), "Network Inactive - Mivo");
    checkNow();
    accept();
    say("-ERR mailbox locked\r\n+OK\r\n");
    sockets.serverCloses(server());
    EXPECT_EQ(ui.applicationTitles.back(), "Account #1 ERROR = -ERR mailbox locked\r\n");
    EXPECT_EQ(program.newMailWindow().Memo1.get(), announced);
}

TEST_F(CheckFixture, TheListKeepsItsFirstMessagesAndCountsTheRest) {
    const int extra = 3;
    const int total = NewMailList::kMaxLines + extra;
    setAccount(1, "bob", "pw", "127.0.0.1");
    Mailbox box;
    box.stat = "+OK " + std::to_string(total) + " 1";
    box.headers.assign(total, "Subject: s\r\n");
    window.CheckBox1.set(false);
    checkNow();
    serve(box);
    const std::string& list = program.newMailWindow().Memo1.get();
    EXPECT_EQ(cycle.lastNumKnown[1], total);
    EXPECT_EQ(memo::lineCount(list), 1 + NewMailList::kMaxLines + 1);
    const std::string end = "No From\ts\r\n... and 3 more new messages\r\n";
    EXPECT_EQ(list.substr(list.size() - end.size()), end);
}

// A broken account checked for weeks: the accounts dialog's error list keeps
// only its newest lines, as the Log does.
TEST_F(CheckFixture, TheErrorListStaysBoundedOverManyFailedChecks) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    Mailbox refusing;
    refusing.passReply = "-ERR wrong password";
    for (int cycleNumber = 0; cycleNumber < 2000; ++cycleNumber) {
        checkNow();
        serve(refusing);
        // The server's +OK to QUIT makes the second report: it ends the
        // conversation, and the server hangs up.
    }
    const std::string& errors = accounts.Errors.get();
    EXPECT_LE(errors.size(), CheckReports::kErrorsLimit);
    const std::string newest = "Account #1 ERROR = -ERR wrong password\r\n+OK bye\r\n\r\n";
    EXPECT_EQ(errors.substr(errors.size() - newest.size()), newest);
    EXPECT_GT(errors.size(), CheckReports::kErrorsLimit - 2 * newest.size());
}

}  // namespace
}  // namespace mivo
