#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::Mailbox;
using test::ProgramOnFakes;

std::vector<std::string> headersOf(int count) {
    std::vector<std::string> headers;
    for (int n = 1; n <= count; ++n) {
        headers.push_back("From: f" + std::to_string(n) + "\r\nSubject: s" + std::to_string(n) +
                          "\r\n");
    }
    return headers;
}

std::string topsFrom(int first, int last) {
    std::string commands;
    for (int n = first; n <= last; ++n) {
        commands += "TOP " + std::to_string(n) + " 0\r\n";
    }
    return commands;
}

// Every mailbox here holds mail, so UIDL follows STAT; the server refuses it.
const std::string kLogin = "USER bob\r\nPASS pw\r\nSTAT\r\nUIDL\r\n";

struct MailboxSetup {
    int onServer;
    int known;  // lastNumKnown before the check
    std::vector<std::string> capabilities;
    bool deleteRule;
    bool urgentRule;
    bool countOnly;
};

// One account's check against `setup`'s server; tells how many TOPs at most
// were unanswered when the server came to answer one.
struct Played {
    std::string commands;
    std::size_t mostTopsUnanswered = 0;
    std::vector<std::string> log;
    std::vector<std::string> captions;
    std::string list;
    int known = 0;
};

Played play(const MailboxSetup& setup) {
    ProgramOnFakes run;
    run.setAccount(1, "bob", "pw", "127.0.0.1");
    run.cycle.lastNumKnown[1] = setup.known;
    run.window.NewMLevelNumber.set(setup.countOnly);
    if (setup.deleteRule || setup.urgentRule) {
        run.window.UseRule = true;
        run.window.SBn[1].itemIndex.set(8);  // Subject
        run.window.En[1].set("s");
        run.window.DELn[1].set(setup.deleteRule);
        run.window.Urgentn[1].set(setup.urgentRule);
    }
    Mailbox box;
    box.stat = "+OK " + std::to_string(setup.onServer) + " 999";
    box.headers = headersOf(setup.onServer);
    box.capabilities = setup.capabilities;
    Played played;
    std::size_t answered = 0;
    run.beforeAnswer = [&](const std::string& command) {
        if (command.starts_with("TOP ")) {
            const std::string& sent = run.sent();
            std::size_t tops = 0;
            for (std::size_t at = sent.find("TOP "); at != std::string::npos;
                 at = sent.find("TOP ", at + 1)) {
                ++tops;
            }
            played.mostTopsUnanswered = std::max(played.mostTopsUnanswered, tops - answered);
            ++answered;
        }
    };
    run.checkNow();
    played.commands = run.serve(box);
    played.log = run.logWithoutTicks();
    played.captions = run.ui.applicationTitles;
    played.list = run.accounts.Memon[1].get();
    played.known = run.cycle.lastNumKnown[1];
    return played;
}

// CAPA is asked only where sending ahead can pay, and TOPs go ahead only to
// a server that offers PIPELINING; whatever the conversation, the Log, the
// captions, the list and the count of seen messages are those of a check
// one command at a time.
TEST(PipelinedHeaders, GoAheadOnlyWhenOfferedAndLeaveWhatTheCheckSaysUnchanged) {
    const std::vector<std::string> pipelining = {"TOP", "PIPELINING", "UIDL"};
    struct Case {
        const char* name;
        MailboxSetup setup;
        std::string commands;
        std::size_t mostTopsUnanswered;
    };
    const Case cases[] = {
        {"four new messages: no CAPA",
         {6, 2, pipelining, false, false, false},
         kLogin + topsFrom(3, 6) + "QUIT\r\n",
         1},
        {"five new messages ahead",
         {7, 2, pipelining, false, false, false},
         kLogin + "CAPA\r\n" + topsFrom(3, 7) + "QUIT\r\n",
         5},
        {"CAPA refused",
         {5, 0, {}, false, false, false},
         kLogin + "CAPA\r\n" + topsFrom(1, 5) + "QUIT\r\n",
         1},
        {"no PIPELINING offered",
         {5, 0, {"TOP", "USER", "PIPELININGX", "X-PIPELINING"}, false, false, false},
         kLogin + "CAPA\r\n" + topsFrom(1, 5) + "QUIT\r\n",
         1},
        {"capability names in any case, with parameters",
         {5, 0, {"Pipelining 10"}, false, false, false},
         kLogin + "CAPA\r\n" + topsFrom(1, 5) + "QUIT\r\n",
         5},
        {"a window of 64",
         {150, 0, pipelining, false, false, false},
         kLogin + "CAPA\r\n" + topsFrom(1, 150) + "QUIT\r\n",
         64},
        {"a rule that only marks urgent",
         {5, 0, pipelining, false, true, false},
         kLogin + "CAPA\r\n" + topsFrom(1, 5) + "QUIT\r\n",
         5},
        {"a rule that deletes stays one command at a time",
         {5, 0, pipelining, true, false, false},
         kLogin + "TOP 1 0\r\nDELE 1\r\nTOP 2 0\r\nDELE 2\r\nTOP 3 0\r\nDELE 3\r\nTOP 4 0\r\n"
                  "DELE 4\r\nTOP 5 0\r\nDELE 5\r\nQUIT\r\n",
         1},
        {"a count-only check asks no headers",
         {9, 0, pipelining, false, false, true},
         kLogin + "QUIT\r\n",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Played played = play(c.setup);
        EXPECT_EQ(played.commands, c.commands);
        EXPECT_EQ(played.mostTopsUnanswered, c.mostTopsUnanswered);
        MailboxSetup lockStep = c.setup;
        lockStep.capabilities.clear();
        const Played reference = play(lockStep);
        EXPECT_EQ(played.log, reference.log);
        EXPECT_EQ(played.captions, reference.captions);
        EXPECT_EQ(played.list, reference.list);
        EXPECT_EQ(played.known, reference.known);
    }
}

}  // namespace
}  // namespace mivo
