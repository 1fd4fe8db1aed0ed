// The private Dovecot server answers a plain POP3 conversation the way the
// interoperation tests and benchmarks take for granted.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DovecotServer.h"
#include "Pop3LineClient.h"

namespace mivo::test {
namespace {

class DovecotSmokeTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (DovecotServer::programPath().empty()) {
            GTEST_SKIP() << "Dovecot is not installed (Debian package dovecot-pop3d)";
        }
        server.addUser("alice", "secret1");
    }

    void TearDown() override {
        if (HasFailure()) {
            std::cerr << "--- Dovecot log ---\n" << server.logText();
        }
    }

    // Connects and logs in; returns the connected client after PASS.
    Pop3LineClient login(const std::string& user, const std::string& password) {
        Pop3LineClient client("127.0.0.1", server.port());
        EXPECT_EQ(client.readLine().rfind("+OK", 0), 0u);
        EXPECT_EQ(client.command("USER " + user).rfind("+OK", 0), 0u);
        EXPECT_EQ(client.command("PASS " + password).rfind("+OK", 0), 0u);
        return client;
    }

    std::vector<std::string> headersOf(Pop3LineClient& client, int number) {
        EXPECT_EQ(client.command("TOP " + std::to_string(number) + " 0").rfind("+OK", 0), 0u);
        return client.readMultiLine();
    }

    static bool contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    DovecotServer server;
};

TEST_F(DovecotSmokeTest, ServesDeliveredMessagesInDeliveryOrder) {
    server.deliver("alice", "Alice <a@example.org>", "Hello 1");
    server.deliverMany("alice", 120, 2);
    server.start();

    Pop3LineClient client = login("alice", "secret1");
    const std::string stat = client.command("STAT");
    EXPECT_EQ(stat.rfind("+OK 121 ", 0), 0u) << stat;

    const std::vector<std::string> first = headersOf(client, 1);
    EXPECT_TRUE(contains(first, "From: Alice <a@example.org>"));
    EXPECT_TRUE(contains(first, "Subject: Hello 1"));
    // TOP n 0 ends with the blank line after the headers: no body line.
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.back(), "");

    for (int number : {2, 60, 121}) {
        const std::string n = std::to_string(number);
        const std::vector<std::string> headers = headersOf(client, number);
        EXPECT_TRUE(contains(headers, "From: Sender " + n + " <s" + n + "@example.org>")) << n;
        EXPECT_TRUE(contains(headers, "Subject: Message " + n)) << n;
    }
    EXPECT_EQ(client.command("QUIT").rfind("+OK", 0), 0u);
}

TEST_F(DovecotSmokeTest, WrongPasswordDoesNotHoldUpTheNextLogin) {
    server.addUser("bob", "secret2");
    server.start();
    for (int attempt = 0; attempt < 2; ++attempt) {
        Pop3LineClient client("127.0.0.1", server.port());
        client.readLine();
        client.command("USER alice");
        const std::string answer = client.command("PASS wrong");
        EXPECT_EQ(answer.rfind("-ERR", 0), 0u) << answer;
        client.command("QUIT");
    }
    // A per-address penalty would make this wait for seconds; the read
    // time-out of the client would turn a long one into a failure.
    for (const auto& [user, password] : {std::pair{"alice", "secret1"}, {"bob", "secret2"}}) {
        Pop3LineClient client = login(user, password);
        EXPECT_EQ(client.command("STAT"), "+OK 0 0") << user;
        client.command("QUIT");
    }
}

TEST_F(DovecotSmokeTest, RemovingMessagesShrinksTheMailboxFromTheOldest) {
    server.deliverMany("alice", 3);
    server.start();
    {
        Pop3LineClient client = login("alice", "secret1");
        EXPECT_EQ(client.command("STAT").rfind("+OK 3 ", 0), 0u);
        client.command("QUIT");
    }
    server.removeMessages("alice", 2);
    server.deliverMany("alice", 1, 4);
    EXPECT_EQ(server.messageCount("alice"), 2);

    Pop3LineClient client = login("alice", "secret1");
    EXPECT_EQ(client.command("STAT").rfind("+OK 2 ", 0), 0u);
    EXPECT_TRUE(contains(headersOf(client, 1), "Subject: Message 3"));
    EXPECT_TRUE(contains(headersOf(client, 2), "Subject: Message 4"));
    client.command("QUIT");
}

}  // namespace
}  // namespace mivo::test
