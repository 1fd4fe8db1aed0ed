// The transport on the real socket adapter, against a scripted server on
// loopback: connect by address and by name, lines, close, reset, failures.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EventLoopWait.h"
#include "LoopbackPort.h"
#include "ScriptedServer.h"
#include "TransportEvents.h"
#include "posix/PosixSocketPort.h"
#include "transport/TcpTransport.h"

namespace mivo {
namespace {

using test::Closed;
using test::ClosedWith;
using test::Connected;
using test::Line;
using test::RecordedEvent;
using test::runEventLoopUntil;

class TransportLoopbackTest : public ::testing::Test {
protected:
    PosixSocketPort sockets;
    TcpTransport transport{sockets};
    test::ScriptedServer server;
    std::vector<RecordedEvent> events;

    void SetUp() override { ASSERT_EQ(transport.TcpInit(), 1); }

    void TearDown() override {
        for (const std::string& failure : server.failures()) {
            ADD_FAILURE() << "server: " << failure;
        }
    }

    bool closed() const { return !events.empty() && events.back().event == TcpEvent::Closed; }

    // A handler that records, and answers a line with `reply` when given.
    TcpEventHandler recorder(int& slot, std::function<void(const std::string&)> onLine = {}) {
        return [this, &slot, onLine](TcpEvent event, std::string_view data) {
            test::recordInto(events)(event, data);
            if (event == TcpEvent::Line && onLine) {
                onLine(std::string(data));
            }
            if (event == TcpEvent::Closed) {
                transport.TcpClose(slot);
            }
            return std::size_t{0};
        };
    }
};

TEST_F(TransportLoopbackTest, ConversesByAddressAndByName) {
    server.send("+OK ready\r\n").expectLine("USER bob").send("+OK\r\n").close();
    server.start();
    for (const std::string host : {"127.0.0.1", "localhost"}) {
        SCOPED_TRACE(host);
        events.clear();
        int slot = -1;
        slot = transport.TcpOpenSlot(recorder(slot, [&](const std::string& line) {
            if (line == "+OK ready") {
                EXPECT_EQ(transport.TcpPrintf(slot, "USER %s\r\n", "bob"), 10);
            }
        }));
        ASSERT_EQ(transport.TcpConnect(slot, host, server.port()), 1);
        ASSERT_TRUE(runEventLoopUntil([&] { return closed(); }));
        EXPECT_EQ(events, (std::vector<RecordedEvent>{Connected(), Line("+OK ready"), Line("+OK"),
                                                      Closed()}));
    }
    ASSERT_TRUE(runEventLoopUntil([&] { return server.finishedConnections() == 2; }));
    EXPECT_EQ(server.received(0), "USER bob\r\n");
    EXPECT_EQ(server.received(1), "USER bob\r\n");
}

TEST_F(TransportLoopbackTest, FailuresToConnect) {
    // Held for the whole test, so the refusal cannot turn into someone
    // else's server answering.
    const test::RefusingPort refusing;
    struct {
        std::string host;
        int port;
        RecordedEvent outcome;
    } const cases[] = {
        {"127.0.0.1", refusing.port(), ClosedWith("Select failed () Connection Refused\n")},
        {"localhost", refusing.port(), ClosedWith("Select failed () Connection Refused\n")},
        {"no such host", 110, ClosedWith("Host Lookup Failed")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        events.clear();
        int slot = -1;
        slot = transport.TcpOpenSlot(recorder(slot));
        // The outcome always comes later as an event, never from TcpConnect.
        ASSERT_EQ(transport.TcpConnect(slot, c.host, c.port), 1);
        EXPECT_TRUE(events.empty());
        ASSERT_TRUE(runEventLoopUntil([&] { return closed(); }));
        EXPECT_EQ(events, std::vector<RecordedEvent>{c.outcome});
    }

    // The broadcast address is refused at once, as on Windows.
    const int slot = transport.TcpOpenSlot(test::recordInto(events));
    EXPECT_EQ(transport.TcpConnect(slot, "255.255.255.255", 110), 0);
    EXPECT_EQ(transport.lastError(), 10049);
    transport.TcpClose(slot);
    EXPECT_EQ(sockets.openSockets(), 0u);
}

TEST_F(TransportLoopbackTest, SplitWritesThenPeerCloseAndSendAfterIt) {
    server.sendSplit({"+OK hel", "lo\r\nsec", "ond line\r\nunfin", "ished"}).close();
    server.start();
    int slot = transport.TcpOpenSlot(test::recordInto(events));
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", server.port()), 1);
    ASSERT_TRUE(runEventLoopUntil([&] { return closed(); }));
    EXPECT_EQ(events, (std::vector<RecordedEvent>{Connected(), Line("+OK hello"),
                                                  Line("second line"), Closed()}));
    EXPECT_EQ(transport.TcpSend(slot, "QUIT\r\n", 6), -1);
    EXPECT_EQ(transport.lastError(), 10038);
    transport.TcpClose(slot);
    EXPECT_EQ(sockets.openSockets(), 0u);
}

TEST_F(TransportLoopbackTest, ResetByPeerReportsItsText) {
    server.send("+OK\r\n").expectLine("HELLO").reset();
    server.start();
    int slot = -1;
    slot = transport.TcpOpenSlot(
        recorder(slot, [&](const std::string&) { transport.TcpSend(slot, "HELLO\r\n", 7); }));
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", server.port()), 1);
    ASSERT_TRUE(runEventLoopUntil([&] { return closed(); }));
    EXPECT_EQ(events, (std::vector<RecordedEvent>{
                          Connected(), Line("+OK"),
                          ClosedWith("Select failed () The virtual circuit was reset by the "
                                     "remote side.\n")}));
}

TEST_F(TransportLoopbackTest, SlotsAreLimitedAndAReusedSlotStartsEmpty) {
    std::vector<int> held;
    for (int i = 0; i < 20; ++i) {
        held.push_back(transport.TcpOpenSlot(test::recordInto(events)));
    }
    EXPECT_EQ(transport.TcpOpenSlot(test::recordInto(events)), -1);
    for (int slot : held) {
        transport.TcpClose(slot);
    }

    server.send("+OK first\r\n").send("partial").expectClose();
    server.nextConnection().send("line\r\n").close();
    server.start();
    int slot = transport.TcpOpenSlot(test::recordInto(events));
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", server.port()), 1);
    ASSERT_TRUE(runEventLoopUntil([&] { return transport.receiveLength(slot) == 7; }));
    transport.TcpClose(slot);

    std::vector<RecordedEvent> second;
    ASSERT_EQ(transport.TcpOpenSlot(test::recordInto(second)), slot);
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", server.port()), 1);
    ASSERT_TRUE(runEventLoopUntil(
        [&] { return !second.empty() && second.back().event == TcpEvent::Closed; }));
    EXPECT_EQ(second, (std::vector<RecordedEvent>{Connected(), Line("line"), Closed()}));
}

TEST_F(TransportLoopbackTest, LargeSendGoesOutWholeAndInOrder) {
    // Far more than a socket takes at once, so most of it waits for writability.
    std::string data;
    for (int i = 0; data.size() < 8'000'000; ++i) {
        data += "LINE " + std::to_string(i) + "\r\n";
    }
    server.send("+OK\r\n").expectBytes(data.size()).send("+OK got it\r\n").close();
    server.start();
    int slot = -1;
    slot = transport.TcpOpenSlot(recorder(slot, [&](const std::string& line) {
        if (line == "+OK") {
            EXPECT_EQ(transport.TcpSend(slot, data.data(), static_cast<int>(data.size())),
                      static_cast<int>(data.size()));
        }
    }));
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", server.port()), 1);
    ASSERT_TRUE(runEventLoopUntil([&] { return closed(); }, std::chrono::seconds(60)));
    EXPECT_EQ(events,
              (std::vector<RecordedEvent>{Connected(), Line("+OK"), Line("+OK got it"), Closed()}));
    ASSERT_TRUE(runEventLoopUntil([&] { return server.finishedConnections() == 1; }));
    EXPECT_TRUE(server.received(0) == data);
}

}  // namespace
}  // namespace mivo
