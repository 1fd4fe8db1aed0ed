// The check cycle over TLS: what opens a POP3S or STLS connection, that no
// command but STLS goes out before the handshake, and how a failed TLS check
// is reported.

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
using Lines = std::vector<std::string>;

const char* const kTlsLine = "TLS: TLSv1.3 with TLS_AES_256_GCM_SHA384";

Lines from(const Lines& lines, const std::string& first) {
    const auto at = std::find(lines.begin(), lines.end(), first);
    return Lines(at, lines.end());
}

// What a check of an empty mailbox logs over plain POP3 from the connection on.
Lines plainConversationLog() {
    test::ProgramOnFakes plain;
    plain.setAccount(1, "bob", "pw", "127.0.0.1");
    plain.checkNow();
    plain.serve(Mailbox{});
    return from(plain.logWithoutTicks(), "###Got Connection");
}

// The same after the TLS line: the session cannot tell the difference.
Lines secureConversationLog() {
    Lines expected{kTlsLine};
    const Lines rest = plainConversationLog();
    expected.insert(expected.end(), rest.begin(), rest.end());
    return expected;
}

TEST_F(CheckFixture, Pop3sTalksOnlyAfterTheHandshake) {
    setAccount(1, "bob", "pw", "pop3s://pop.example.org");
    checkNow();
    ASSERT_EQ(sockets.lookups.size(), 1u);
    sockets.completeLookup(0, 0x7F000001);
    const auto& socket = sockets.socket(server());
    EXPECT_EQ(socket.port, 995);
    ASSERT_TRUE(socket.tls.has_value());
    EXPECT_EQ(socket.tls->serverName, "pop.example.org");
    EXPECT_EQ(socket.tls->pinnedSha256, "");

    sockets.tlsDone(server(), kTlsLine);
    converse(Mailbox{});

    EXPECT_EQ(from(logWithoutTicks(), kTlsLine), secureConversationLog());
    EXPECT_TRUE(captioned("No New Mail - Mivo"));
}

TEST_F(CheckFixture, StlsHoldsTheGreetingUntilTheHandshakeIsDone) {
    setAccount(1, "bob", "pw", "stls://127.0.0.1#sha256=" + std::string(64, 'a'));
    checkNow();
    EXPECT_EQ(sockets.socket(server()).port, 110);
    EXPECT_FALSE(sockets.socket(server()).tls.has_value()) << "the greeting comes in clear";
    accept();
    say("+OK ready\r\n");
    EXPECT_EQ(sent(), "STLS\r\n");
    say("+OK Begin TLS negotiation\r\n");
    ASSERT_TRUE(sockets.socket(server()).tls.has_value());
    EXPECT_EQ(sockets.socket(server()).tls->serverName, "127.0.0.1");
    EXPECT_EQ(sockets.socket(server()).tls->pinnedSha256, std::string(64, 'a'));
    EXPECT_FALSE(logged("###Got Connection")) << "the session waits for TLS";
    EXPECT_FALSE(cycle.connected);

    sockets.tlsDone(server(), kTlsLine);
    EXPECT_EQ(sent(), "STLS\r\nUSER bob\r\n") << "the held greeting is answered now";
    // The rest of the conversation, the greeting being answered already.
    say("+OK\r\n");
    say("+OK\r\n");
    say("+OK 0 0\r\n");
    say("+OK bye\r\n");
    sockets.serverCloses(server());

    EXPECT_EQ(from(logWithoutTicks(), kTlsLine), secureConversationLog());
    EXPECT_EQ(sent(), "STLS\r\nUSER bob\r\nPASS pw\r\nSTAT\r\nQUIT\r\n");
}

// Each way the TLS opening can fail: reported in the caption, the accounts
// dialog and the Log, also for a server that greeted before, and the
// password never sent.
TEST_F(CheckFixture, FailedTlsIsReportedInFullAndNothingMoreIsSent) {
    struct Case {
        const char* name;
        const char* pop;
        std::function<void(test::ProgramOnFakes&)> server;
        std::string reason;
        std::string fingerprint;
    };
    const Case cases[] = {
        {"certificate refused", "pop3s://pop.example.org:1995",
         [](test::ProgramOnFakes& p) {
             p.sockets.completeLookup(0, 0x7F000001);
             p.sockets.tlsDone(
                 p.server(),
                 "TLS: certificate verify failed (self-signed certificate) for pop.example.org",
                 10053, "AB:CD");
         },
         "TLS: certificate verify failed (self-signed certificate) for pop.example.org", "AB:CD"},
        {"STLS refused", "stls://127.0.0.1",
         [](test::ProgramOnFakes& p) {
             p.accept();
             p.say("+OK ready\r\n");
             p.say("-ERR Unknown command\r\n");
         },
         "TLS: the server refused STLS for 127.0.0.1", ""},
        {"clear text after the STLS reply", "stls://127.0.0.1",
         [](test::ProgramOnFakes& p) {
             p.accept();
             p.say("+OK ready\r\n");
             p.say("+OK go ahead\r\n-ERR injected\r\n");
         },
         "TLS: the server sent data ahead of the TLS handshake for 127.0.0.1", ""},
        {"a host text that cannot be meant", "pop3s://pop.example.org#sha256=12",
         [](test::ProgramOnFakes&) {},
         "Bad POP host (the certificate pin after #sha256= needs 64 hex digits, not 2)", ""},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        test::ProgramOnFakes fresh;
        fresh.setAccount(1, "bob", "pw", each.pop);
        fresh.cycle.CCW[1] = true;  // a network hiccup would be excused
        fresh.checkNow();
        each.server(fresh);

        const std::string line = "Account #1 " + each.reason;
        EXPECT_TRUE(fresh.captioned("(bob)" + each.reason + " - Mivo"));
        EXPECT_EQ(fresh.accounts.Errors.get(), line + "\r\n");
        EXPECT_TRUE(fresh.logged(line));
        EXPECT_EQ(fresh.logged("TLS: the server's certificate is #sha256=AB:CD"),
                  !each.fingerprint.empty());
        EXPECT_TRUE(fresh.cycle.accountError[1]);
        EXPECT_FALSE(fresh.cycle.connected || fresh.cycle.connecting);
        if (!fresh.sockets.sockets.empty()) {
            const std::string& out = fresh.sent();
            EXPECT_TRUE(out.empty() || out == "STLS\r\n") << out;
        }
    }
}

}  // namespace
}  // namespace mivo
