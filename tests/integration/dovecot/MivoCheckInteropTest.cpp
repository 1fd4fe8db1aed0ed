// mivo-check against a real, independent POP3 server: what a user sees on the
// console and in the exit status for good, wrong and changing mailboxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "DovecotServer.h"
#include "LoopbackPort.h"
#include "Pop3LineClient.h"
#include "TemporaryDirectory.h"

namespace mivo::test {
namespace {

using Lines = std::vector<std::string>;

// Only keeps a hung run from stalling the suite.
constexpr auto kRunLimit = std::chrono::minutes(2);

const char* const kNewMail = "New Mail - Mivo";
const char* const kNoNewMail = "No New Mail - Mivo";

struct Account {
    std::string user;
    std::string password;
    std::string host;
};

Lines splitLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The captions that end a cycle, in order.
Lines cycleCaptions(const std::string& standardError) {
    Lines captions;
    for (const std::string& line : splitLines(standardError)) {
        if (line == std::string("caption: ") + kNewMail ||
            line == std::string("caption: ") + kNoNewMail) {
            captions.push_back(line.substr(9));
        }
    }
    return captions;
}

// The message lines under each summary header of one account, one entry per
// cycle that reported it.
std::vector<Lines> summariesOf(const std::string& standardOutput, const std::string& user,
                               const std::string& host) {
    const std::string header = "    " + user + "@" + host + "  ";
    static const std::regex timeText(
        "[A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}");
    std::vector<Lines> summaries;
    bool inSummary = false;
    for (const std::string& line : splitLines(standardOutput)) {
        if (line.rfind(header, 0) == 0) {
            EXPECT_TRUE(std::regex_match(line.substr(header.size()), timeText)) << line;
            summaries.emplace_back();
            inSummary = true;
        } else if (inSummary && line.find('\t') != std::string::npos &&
                   line.rfind("    ", 0) != 0) {
            summaries.back().push_back(line);
        } else {
            inSummary = false;
        }
    }
    return summaries;
}

Lines senderSubjectLines(int first, int last) {
    Lines lines;
    for (int number = first; number <= last; ++number) {
        const std::string n = std::to_string(number);
        lines.push_back("Sender " + n + " <s" + n + "@example.org>\tMessage " + n);
    }
    return lines;
}

// A POP3 server with an empty mailbox that answers only when the test lets
// it. Checked first in every cycle, it holds the program between two cycles
// for exactly as long as the test needs: the next account's check cannot
// begin before this conversation has ended.
class GateServer {
public:
    std::string hostAndPort() const { return m_listener.hostAndPort(); }

    // Waits for the program to connect: the start of its next cycle.
    Pop3LineClient accept() const {
        FileDescriptor connection =
            m_listener.accept(std::chrono::duration_cast<std::chrono::milliseconds>(kRunLimit));
        if (!connection.isOpen()) {
            throw std::runtime_error("mivo-check did not connect to the gate account");
        }
        return Pop3LineClient(std::move(connection));
    }

    // Closes the connection at the end, as a server does after QUIT: the
    // program waits for that before it moves on.
    static void serveEmptyMailbox(Pop3LineClient connection) {
        connection.sendLine("+OK gate ready");
        for (;;) {
            const std::string command = connection.readLine();
            if (command == "QUIT") {
                connection.sendLine("+OK bye");
                return;
            }
            connection.sendLine(command == "STAT" ? "+OK 0 0" : "+OK");
        }
    }

private:
    LoopbackListener m_listener{4};
};

class MivoCheckInteropTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (DovecotServer::programPath().empty()) {
            GTEST_SKIP() << "Dovecot is not installed (Debian package dovecot-pop3d)";
        }
        server.addUser("alice", "secret1");
        server.addUser("bob", "secret2");
        server.addUser("carol", "secret3");
    }

    void TearDown() override {
        if (HasFailure() && m_child) {
            std::cerr << "--- mivo-check standard output ---\n"
                      << m_child->standardOutput() << "--- mivo-check standard error ---\n"
                      << m_child->standardError() << "--- Dovecot log ---\n"
                      << server.logText();
        }
    }

    Account account(const std::string& user, const std::string& password) const {
        return {user, password, server.hostAndPort()};
    }

    // Starts one mivo-check with a settings directory of its own, so no run
    // sees another's (or the developer's) stored state.
    ChildProcess& launch(const std::vector<Account>& accounts, int cycles,
                         const std::vector<std::string>& extraOptions = {}) {
        const std::filesystem::path config =
            server.directory() / ("config-" + std::to_string(++m_runs));
        std::filesystem::create_directories(config);
        std::vector<std::string> arguments{MIVO_CHECK_PROGRAM, "--interval", "1", "--cycles",
                                           std::to_string(cycles)};
        arguments.insert(arguments.end(), extraOptions.begin(), extraOptions.end());
        for (const Account& each : accounts) {
            arguments.insert(arguments.end(), {"--account", each.user, each.password, each.host});
        }
        ChildOptions options;
        options.environment = {{"XDG_CONFIG_HOME", config.string()}};
        m_child = std::make_unique<ChildProcess>(arguments, options);
        return *m_child;
    }

    ChildExit finish() {
        ChildExit exit = m_child->wait(ChildProcess::Clock::now() + kRunLimit);
        EXPECT_FALSE(exit.timedOut) << "mivo-check did not end within the limit";
        return exit;
    }

    int runOnce(const std::vector<Account>& accounts,
                const std::vector<std::string>& extraOptions = {}) {
        launch(accounts, 1, extraOptions);
        return finish().exitCode;
    }

    // Two cycles of the gate and then `accounts` in one process; `change`
    // alters the mailboxes after the first cycle has ended and before the
    // second one looks at them.
    int runTwoCyclesWithChangeBetween(std::vector<Account> accounts,
                                      const std::function<void()>& change) {
        const GateServer gate;
        accounts.insert(accounts.begin(), Account{"gate", "gate-password", gate.hostAndPort()});
        launch(accounts, 2);
        GateServer::serveEmptyMailbox(gate.accept());
        Pop3LineClient secondCycle = gate.accept();
        change();
        GateServer::serveEmptyMailbox(std::move(secondCycle));
        return finish().exitCode;
    }

    const std::string& output() const { return m_child->standardOutput(); }
    Lines captions() const { return cycleCaptions(m_child->standardError()); }
    // The caption a run of one cycle ended with, whatever it says.
    std::string lastCaption() const {
        const Lines lines = splitLines(m_child->standardError());
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            if (line->rfind("caption: ", 0) == 0) {
                return line->substr(9);
            }
        }
        return {};
    }
    std::vector<Lines> summaries(const std::string& user) const {
        return summariesOf(output(), user, server.hostAndPort());
    }

    DovecotServer server;

private:
    std::unique_ptr<ChildProcess> m_child;
    int m_runs = 0;
};

TEST_F(MivoCheckInteropTest, ListsEveryNewMessageOfAGoodAccountInServerOrder) {
    server.deliver("alice", "Alice <a@example.org>", "Hello 1");
    server.deliver("alice", "\"Bob B.\" <b@example.org>", "Re: [list] Hello 2");
    // Format directives in a subject are text, never a pattern.
    server.deliver("alice", "c@example.org", "Rates up 100% %s %n %d");
    server.start();

    EXPECT_EQ(runOnce({account("alice", "secret1")}), 0);

    EXPECT_EQ(summaries("alice"),
              (std::vector<Lines>{{"Alice <a@example.org>\tHello 1",
                                   "\"Bob B.\" <b@example.org>\tRe: [list] Hello 2",
                                   "c@example.org\tRates up 100% %s %n %d"}}));
    EXPECT_EQ(captions(), Lines{kNewMail});
    EXPECT_EQ(output().find("secret1"), std::string::npos) << "the password reached the Log";
}

// Dovecot offers PIPELINING: a mailbox past the window of TOPs sent ahead
// is listed whole and in order, each message asked for in the Log as its
// answer is read.
TEST_F(MivoCheckInteropTest, AMailboxPastTheWindowOfHeadersSentAheadIsListedInOrder) {
    constexpr int kMessages = 150;
    server.deliverMany("alice", kMessages);
    server.start();

    EXPECT_EQ(runOnce({account("alice", "secret1")}), 0);

    EXPECT_EQ(summaries("alice"), std::vector<Lines>{senderSubjectLines(1, kMessages)});
    std::size_t from = 0;
    for (int message = 1; message <= kMessages; ++message) {
        const std::string asked = "TOP " + std::to_string(message) + " 0";
        const std::size_t at = output().find(asked, from);
        ASSERT_NE(at, std::string::npos) << asked;
        from = at + asked.size();
    }
    EXPECT_EQ(captions(), Lines{kNewMail});
}

TEST_F(MivoCheckInteropTest, SeveralAccountsAreReportedInAccountOrder) {
    server.deliverMany("alice", 2);
    server.deliverMany("carol", 1, 3);
    server.start();

    EXPECT_EQ(runOnce({account("alice", "secret1"), account("bob", "secret2"),
                       account("carol", "secret3")}),
              0);

    EXPECT_EQ(summaries("alice"), std::vector<Lines>{senderSubjectLines(1, 2)});
    EXPECT_TRUE(summaries("bob").empty()) << "an account without new mail has no summary";
    EXPECT_EQ(summaries("carol"), std::vector<Lines>{senderSubjectLines(3, 3)});
    EXPECT_LT(output().find("    alice@"), output().find("    carol@"));
    EXPECT_EQ(captions(), Lines{kNewMail});
}

TEST_F(MivoCheckInteropTest, ExitStatusAndCaptionFollowTheOutcome) {
    server.deliverMany("carol", 1);
    server.start();
    const RefusingPort refusing;
    const Account empty = account("alice", "secret1");
    const Account wrongPassword = account("bob", "not-the-password");
    const Account withMail = account("carol", "secret3");
    const Account refused{"alice", "secret1", refusing.hostAndPort()};

    struct Case {
        const char* name;
        std::vector<Account> accounts;
        int exitCode;
        std::string caption;
    };
    // Without new mail, a failed account's own caption ends the cycle.
    const std::string refusedPassword = "-ERR [AUTH] Authentication failed.\\r\\n - Mivo";
    const Case cases[] = {
        {"empty mailbox", {empty}, 1, kNoNewMail},
        {"wrong password", {wrongPassword}, 2, refusedPassword},
        {"refused connection",
         {refused},
         2,
         "(alice)Select failed () Connection Refused\\n - Mivo"},
        {"empty mailbox beside a wrong password", {empty, wrongPassword}, 2, refusedPassword},
        {"new mail beside a wrong password", {wrongPassword, withMail}, 0, kNewMail},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(runOnce(each.accounts), each.exitCode);
        EXPECT_EQ(lastCaption(), each.caption);
        EXPECT_EQ(output().find("not-the-password"), std::string::npos)
            << "the password reached the Log";
    }
}

TEST_F(MivoCheckInteropTest, SecondCycleWithoutNewMailEndsWithoutNewMail) {
    server.deliverMany("alice", 2);
    server.start();

    launch({account("alice", "secret1")}, 2);
    EXPECT_EQ(finish().exitCode, 1);

    EXPECT_EQ(summaries("alice"), std::vector<Lines>{senderSubjectLines(1, 2)});
    EXPECT_EQ(captions(), (Lines{kNewMail, kNoNewMail}));
}

TEST_F(MivoCheckInteropTest, MailArrivingBetweenCyclesIsAllTheSecondCycleReports) {
    server.deliverMany("alice", 1);
    server.start();

    EXPECT_EQ(runTwoCyclesWithChangeBetween({account("alice", "secret1")},
                                            [&] { server.deliverMany("alice", 1, 2); }),
              0);

    EXPECT_EQ(summaries("alice"),
              (std::vector<Lines>{senderSubjectLines(1, 1), senderSubjectLines(2, 2)}));
    EXPECT_EQ(captions(), (Lines{kNewMail, kNewMail}));
}

// Dovecot lists its messages' ids, so mail read and deleted on another
// device between two checks neither hides the mail that arrived meanwhile
// nor makes the mail left over new again.
TEST_F(MivoCheckInteropTest, MailDeletedElsewhereNeitherHidesNewMailNorBringsOldMailBack) {
    struct Case {
        const char* what;
        const char* user;
        const char* password;
        int before;   // messages 1..before, all seen by the first cycle
        int deleted;  // the oldest ones, deleted before the second cycle
        int arrived;  // messages before + 1.., delivered before the second cycle
    };
    const Case cases[] = {
        {"two deleted, two arrived: the count is unchanged", "alice", "secret1", 2, 2, 2},
        {"more deleted than arrived: the mailbox shrank", "bob", "secret2", 3, 2, 1},
    };
    for (const Case& c : cases) {
        server.deliverMany(c.user, c.before);
    }
    server.start();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(runTwoCyclesWithChangeBetween({account(c.user, c.password)},
                                                [&] {
                                                    server.removeMessages(c.user, c.deleted);
                                                    server.deliverMany(c.user, c.arrived,
                                                                       c.before + 1);
                                                }),
                  0);
        EXPECT_EQ(summaries(c.user),
                  (std::vector<Lines>{senderSubjectLines(1, c.before),
                                      senderSubjectLines(c.before + 1, c.before + c.arrived)}));
        EXPECT_EQ(captions(), (Lines{kNewMail, kNewMail}));
    }
}

TEST_F(MivoCheckInteropTest, AStateFileCarriesTheSeenCountsFromRunToRun) {
    server.deliverMany("alice", 2);
    server.start();
    const std::vector<std::string> state{"--state",
                                         (server.directory() / "mivo-check.state").string()};
    const std::vector<Account> alice{account("alice", "secret1")};

    EXPECT_EQ(runOnce(alice, state), 0);
    EXPECT_EQ(summaries("alice"), std::vector<Lines>{senderSubjectLines(1, 2)});

    EXPECT_EQ(runOnce(alice, state), 1);
    EXPECT_TRUE(summaries("alice").empty());
    EXPECT_EQ(captions(), Lines{kNoNewMail});

    server.deliverMany("alice", 1, 3);
    EXPECT_EQ(runOnce(alice, state), 0);
    EXPECT_EQ(summaries("alice"), std::vector<Lines>{senderSubjectLines(3, 3)});

    // The state holds the ids of the three messages on the server.
    const std::string kept = readWholeFile(server.directory() / "mivo-check.state");
    const std::string line = "alice\t" + server.hostAndPort() + "\t3\t";
    ASSERT_EQ(kept.rfind("mivo-check state 2\n" + line, 0), 0U) << kept;
    const std::string ids = kept.substr(kept.find(line) + line.size());
    EXPECT_EQ(std::count(ids.begin(), ids.end(), ' '), 2) << kept;

    // Two read and deleted elsewhere, two arrived: both new ones are told.
    server.removeMessages("alice", 2);
    server.deliverMany("alice", 2, 4);
    EXPECT_EQ(runOnce(alice, state), 0);
    EXPECT_EQ(summaries("alice"), std::vector<Lines>{senderSubjectLines(4, 5)});
}

}  // namespace
}  // namespace mivo::test
