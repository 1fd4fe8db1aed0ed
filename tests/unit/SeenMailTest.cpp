// The messages seen in each mailbox, remembered from one start of the program
// to the next by user name and host: a start announces (and runs the rules
// on) only what arrived since, an edited account starts afresh, and Reset
// forgets for good.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "CheckFixture.h"

namespace mivo::test {
namespace {

Mailbox mailboxOf(int messages) {
    Mailbox box;
    box.stat = "+OK " + std::to_string(messages) + " 0";
    for (int n = 1; n <= messages; ++n) {
        box.headers.push_back("From: sender " + std::to_string(n) + "\r\nSubject: message " +
                              std::to_string(n) + "\r\n");
    }
    return box;
}

// The TOP commands of a conversation: the messages taken for new.
std::vector<std::string> headersAskedFor(const std::string& sent) {
    std::vector<std::string> asked;
    for (std::size_t at = sent.find("TOP "); at != std::string::npos;
         at = sent.find("TOP ", at + 1)) {
        asked.push_back(sent.substr(at, sent.find("\r\n", at) - at));
    }
    return asked;
}

std::string stateOf(const std::string& lines) {
    return "mivo-check state 2\n" + lines;
}

// One start of the program, keeping its seen mail in `state`.
class Start : public ProgramOnFakes {
public:
    explicit Start(FakeState& state) { program.keepSeenMailIn(state); }

    // One cycle in which account 1 holds `messages`; the TOPs it sent.
    std::vector<std::string> check(int messages) {
        checkNow();
        return headersAskedFor(serve(mailboxOf(messages)));
    }

    // The same on a server that lists its messages' ids.
    std::vector<std::string> check(const std::vector<std::string>& ids) {
        Mailbox box = mailboxOf(static_cast<int>(ids.size()));
        box.ids = ids;
        checkNow();
        return headersAskedFor(serve(box));
    }
};

using Tops = std::vector<std::string>;

TEST(SeenMail, EachStartAnnouncesOnlyTheMailThatArrivedSinceTheLastRun) {
    struct Run {
        const char* what;
        int onServer;
        Tops asked;
        const char* caption;
    };
    const Run runs[] = {
        {"the first check: all of it is new", 2, {"TOP 1 0", "TOP 2 0"}, "New Mail - Mivo"},
        {"nothing arrived", 2, {}, "No New Mail - Mivo"},
        {"one more arrived", 3, {"TOP 3 0"}, "New Mail - Mivo"},
        // Fewer than seen: deleted elsewhere, so what is left counts as new.
        {"two were deleted", 1, {"TOP 1 0"}, "New Mail - Mivo"},
    };
    FakeState state;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        Start start(state);
        start.setAccount(1, "bob", "pw", "127.0.0.1");
        EXPECT_EQ(start.check(run.onServer), run.asked);
        EXPECT_EQ(start.window.Caption.get(), run.caption);
        EXPECT_EQ(state.stored.text,
                  stateOf("bob\t127.0.0.1\t" + std::to_string(run.onServer) + "\n"));
    }
    // A cycle that changed nothing writes nothing.
    EXPECT_EQ(state.writes.size(), 3U);
}

// Where the server lists ids a start announces the messages whose ids were
// not seen, whatever was deleted elsewhere meanwhile, and the state keeps
// the ids still on the server only.
TEST(SeenMail, MailListedByIdIsKnownByItsIdsFromOneStartToTheNext) {
    struct Run {
        const char* what;
        std::vector<std::string> ids;
        Tops asked;
        const char* stored;
    };
    const Run runs[] = {
        {"after a count kept by an earlier version, its first two are the ones seen",
         {"a", "b", "c"},
         {"TOP 3 0"},
         "bob\t127.0.0.1\t3\ta b c\n"},
        {"two deleted elsewhere, two arrived",
         {"c", "d", "e"},
         {"TOP 2 0", "TOP 3 0"},
         "bob\t127.0.0.1\t3\tc d e\n"},
        {"two deleted, one arrived", {"e", "f"}, {"TOP 2 0"}, "bob\t127.0.0.1\t2\te f\n"},
        {"all deleted", {}, {}, "bob\t127.0.0.1\t0\t\n"},
        {"mail after an empty mailbox", {"g"}, {"TOP 1 0"}, "bob\t127.0.0.1\t1\tg\n"},
    };
    FakeState state;
    state.store("mivo-check state 1\nbob\t127.0.0.1\t2\n");
    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        Start start(state);
        start.setAccount(1, "bob", "pw", "127.0.0.1");
        EXPECT_EQ(start.check(run.ids), run.asked);
        EXPECT_EQ(state.stored.text, stateOf(run.stored));
    }
    // A server that no longer lists ids is checked by count from then on.
    Start start(state);
    start.setAccount(1, "bob", "pw", "127.0.0.1");
    EXPECT_EQ(start.check(2), (Tops{"TOP 2 0"}));
    EXPECT_EQ(state.stored.text, stateOf("bob\t127.0.0.1\t2\n"));
}

TEST(SeenMail, AnEditedAccountStartsAfreshAndItsOldMailboxKeepsItsCount) {
    FakeState state;
    // Written before ids were kept.
    state.store("mivo-check state 1\nann\t127.0.0.1\t1\n");
    Start start(state);
    start.setAccount(1, "bob", "pw", "127.0.0.1");
    EXPECT_EQ(start.check(2), (Tops{"TOP 1 0", "TOP 2 0"}));
    start.setAccount(1, "ann", "pw", "127.0.0.1");
    EXPECT_EQ(start.check(2), (Tops{"TOP 2 0"}));
    start.setAccount(1, "bob", "pw", "127.0.0.1:110");  // another host text
    EXPECT_EQ(start.check(2), (Tops{"TOP 1 0", "TOP 2 0"}));
    start.setAccount(1, "bob", "pw", "127.0.0.1");
    EXPECT_EQ(start.check(3), (Tops{"TOP 3 0"}));
    EXPECT_EQ(state.stored.text,
              stateOf("ann\t127.0.0.1\t2\nbob\t127.0.0.1\t3\nbob\t127.0.0.1:110\t2\n"));

    // The account now in another place keeps its count too.
    Start next(state);
    next.setAccount(2, "ann", "pw", "127.0.0.1");
    next.checkNow();
    EXPECT_EQ(headersAskedFor(next.serve(mailboxOf(3))), (Tops{"TOP 3 0"}));
}

TEST(SeenMail, ResetForgetsEveryCountAlsoForTheNextStart) {
    FakeState state;
    state.store(stateOf("gone\tsomewhere\t4\n"));
    {
        Start start(state);
        start.setAccount(1, "bob", "pw", "127.0.0.1");
        start.setAccount(2, "ann", "pw", "127.0.0.1");
        start.checkNow();
        start.serve(mailboxOf(2));
        start.serve(mailboxOf(1));
        EXPECT_EQ(state.stored.text,
                  stateOf("ann\t127.0.0.1\t1\nbob\t127.0.0.1\t2\ngone\tsomewhere\t4\n"));
        start.program.mainWindow().Button2Click();
        EXPECT_EQ(state.stored.text, stateOf("ann\t127.0.0.1\t0\nbob\t127.0.0.1\t0\n"));
    }
    Start next(state);
    next.setAccount(1, "bob", "pw", "127.0.0.1");
    EXPECT_EQ(next.check(2), (Tops{"TOP 1 0", "TOP 2 0"}));
}

TEST(SeenMail, AStateThatCannotBeUsedIsToldAndNeverWrittenOver) {
    struct Case {
        const char* what;
        StoredText stored;
        const char* reason;
    };
    const Case cases[] = {
        {"another program's file",
         {StoredText::State::Present, "PATH=/bin\n", ""},
         "not a mivo-check state file"},
        {"a broken line",
         {StoredText::State::Present, "mivo-check state 1\nbob\t3\n", ""},
         "line 2: "},
        {"unreadable",
         {StoredText::State::Unreadable, "", "Cannot read /s: I/O error"},
         "Cannot read /s: I/O error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeState state;
        state.stored = c.stored;
        ProgramOnFakes run;
        const std::optional<std::string> failure = run.program.keepSeenMailIn(state);
        ASSERT_TRUE(failure);
        EXPECT_NE(failure->find(c.reason), std::string::npos) << *failure;
        ASSERT_FALSE(run.logLines.empty());
        EXPECT_EQ(run.logLines.back(),
                  "Seen mail could not be read, all of it counts as new and nothing will be "
                  "saved: " +
                      *failure);
        run.setAccount(1, "bob", "pw", "127.0.0.1");
        run.checkNow();
        EXPECT_EQ(headersAskedFor(run.serve(mailboxOf(1))), (Tops{"TOP 1 0"}));
        run.program.mainWindow().Button2Click();
        EXPECT_TRUE(state.writes.empty());
        EXPECT_EQ(state.stored.text, c.stored.text);
    }
}

TEST(SeenMail, AFailedWriteIsLoggedOnceUntilAWriteSucceeds) {
    FakeState state;
    state.writeFailure = "Cannot create /s.XXXXXX: No space left on device";
    const std::string told =
        "Seen mail could not be saved: Cannot create /s.XXXXXX: No space left on device";
    Start start(state);
    start.setAccount(1, "bob", "pw", "127.0.0.1");
    const auto timesTold = [&start, &told] {
        return std::count(start.logLines.begin(), start.logLines.end(), told);
    };
    start.check(1);
    start.check(2);
    EXPECT_EQ(timesTold(), 1);
    EXPECT_EQ(start.program.seenMail().writeFailure(), state.writeFailure);
    state.writeFailure.reset();
    start.check(3);
    EXPECT_EQ(state.stored.text, stateOf("bob\t127.0.0.1\t3\n"));
    EXPECT_FALSE(start.program.seenMail().writeFailure());
    state.writeFailure = "Cannot create /s.XXXXXX: No space left on device";
    start.check(4);
    EXPECT_EQ(timesTold(), 2);
}

}  // namespace
}  // namespace mivo::test
