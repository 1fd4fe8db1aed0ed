#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeSocketPort.h"
#include "TransportEvents.h"
#include "transport/TcpTransport.h"

namespace mivo {
namespace {

using test::Closed;
using test::ClosedWith;
using test::Connected;
using test::Line;
using test::RecordedEvent;

constexpr Ipv4Address Loopback = 0x7F000001;

struct TcpTransportTest : ::testing::Test {
    test::FakeSocketPort port;
    TcpTransport transport{port};
    std::vector<RecordedEvent> events;

    void SetUp() override { ASSERT_EQ(transport.TcpInit(), 1); }

    // A slot connected to 127.0.0.1:110, the connect already confirmed.
    int connectedSlot() {
        const int slot = transport.TcpOpenSlot(test::recordInto(events));
        EXPECT_EQ(transport.TcpConnect(slot, "127.0.0.1", 110), 1);
        port.connectSucceeds(port.lastSocket());
        return slot;
    }
};

TEST_F(TcpTransportTest, NumericHostConnectsDirectlyAndNameIsLookedUp) {
    const int slot = transport.TcpOpenSlot(test::recordInto(events));
    EXPECT_EQ(transport.TcpConnect(slot, "127.0.0.1", 110), 1);
    const auto& numeric = port.socket(port.lastSocket());
    EXPECT_EQ(numeric.address, Loopback);
    EXPECT_EQ(numeric.port, 110);
    EXPECT_TRUE(numeric.nonBlocking);
    EXPECT_EQ(numeric.selected, FdRead | FdOob | FdConnect | FdClose);
    EXPECT_EQ(numeric.slot, slot);

    // Digits and dots are an address even where they make none: the
    // all-ones address, which the platform refuses.
    EXPECT_EQ(transport.TcpConnect(slot, "1.2.3.999", 110), 1);
    EXPECT_EQ(port.socket(port.lastSocket()).address, 0xFFFFFFFFu);
    EXPECT_TRUE(port.lookups.empty());

    // A name is looked up, even one that begins with a digit.
    EXPECT_EQ(transport.TcpConnect(slot, "1mail.localdomain", 110), 1);
    ASSERT_EQ(port.lookups.size(), 1u);
    EXPECT_EQ(port.lookups[0].host, "1mail.localdomain");
    EXPECT_EQ(transport.TcpConnect(slot, "localhost", 2110), 1);
    ASSERT_EQ(port.lookups.size(), 2u);
    EXPECT_EQ(port.lookups[1].host, "localhost");
    port.completeLookup(0, Loopback);  // replaced by the later connect: dropped
    EXPECT_EQ(port.socket(port.lastSocket()).address, 0xFFFFFFFFu);
    port.completeLookup(1, Loopback);
    EXPECT_EQ(port.socket(port.lastSocket()).address, Loopback);
    EXPECT_EQ(port.socket(port.lastSocket()).port, 2110);
    port.connectSucceeds(port.lastSocket());
    EXPECT_EQ(events, std::vector<RecordedEvent>{Connected()});
}

TEST_F(TcpTransportTest, FailuresArriveAsClosedWithTheirText) {
    const std::string refused = "Select failed () Connection Refused\n";
    const std::string reset =
        "Select failed () The virtual circuit was reset by the remote side.\n";

    int slot = transport.TcpOpenSlot(test::recordInto(events));
    transport.TcpConnect(slot, "127.0.0.1", 110);
    port.connectFails(port.lastSocket(), 10061);
    EXPECT_EQ(transport.lastError(), 10061);
    transport.TcpClose(slot);

    slot = connectedSlot();
    port.serverResets(port.lastSocket());
    transport.TcpClose(slot);

    slot = transport.TcpOpenSlot(test::recordInto(events));
    transport.TcpConnect(slot, "no such host", 110);
    port.completeLookup(0, std::nullopt, 11001);
    transport.TcpClose(slot);

    EXPECT_EQ(events,
              (std::vector<RecordedEvent>{ClosedWith(refused), Connected(), ClosedWith(reset),
                                          ClosedWith("Host Lookup Failed")}));
}

TEST_F(TcpTransportTest, ConnectFailingAtOnceReturnsZeroAndRaisesNothing) {
    const int slot = transport.TcpOpenSlot(test::recordInto(events));
    port.connectError = 10049;
    EXPECT_EQ(transport.TcpConnect(slot, "255.255.255.255", 110), 0);
    EXPECT_EQ(transport.lastError(), 10049);
    const SocketHandle socket = port.lastSocket();
    EXPECT_FALSE(port.socket(socket).closed);  // until the caller's TcpClose
    transport.TcpClose(slot);
    EXPECT_TRUE(port.socket(socket).closed);

    port.connectError = 10036;
    port.createError = 10050;
    EXPECT_EQ(
        transport.TcpConnect(transport.TcpOpenSlot(test::recordInto(events)), "127.0.0.2", 110), 0);
    EXPECT_EQ(transport.lastError(), 10050);
    EXPECT_TRUE(events.empty());
}

TEST_F(TcpTransportTest, LookupWhoseAddressCannotBeConnectedStillEndsWithClosed) {
    // TcpConnect answered 1 when the lookup started, so an event must follow.
    const int slot = transport.TcpOpenSlot(test::recordInto(events));
    ASSERT_EQ(transport.TcpConnect(slot, "localhost", 110), 1);
    port.connectError = 10049;
    port.completeLookup(0, 0xFFFFFFFFu);
    EXPECT_EQ(events,
              std::vector<RecordedEvent>{ClosedWith("Select failed () Address not avail\n")});
}

TEST_F(TcpTransportTest, ConnectBeforeInitFailsAsWithoutSocketStartUp) {
    test::FakeSocketPort otherPort;
    TcpTransport notStarted(otherPort);
    const int slot = notStarted.TcpOpenSlot(test::recordInto(events));
    EXPECT_EQ(notStarted.TcpConnect(slot, "127.0.0.1", 110), 0);
    EXPECT_EQ(notStarted.lastError(), 10093);
}

TEST_F(TcpTransportTest, SlotRules) {
    std::vector<int> slots;
    for (int i = 0; i < 20; ++i) {
        slots.push_back(transport.TcpOpenSlot(test::recordInto(events)));
        EXPECT_EQ(slots.back(), i);
    }
    EXPECT_EQ(transport.TcpOpenSlot(test::recordInto(events)), -1);
    transport.TcpClose(7);
    EXPECT_EQ(transport.TcpOpenSlot(test::recordInto(events)), 7);

    // Out-of-range slot numbers are refused, never indexed.
    EXPECT_EQ(transport.TcpSend(100, "x", 1), -1);
    EXPECT_EQ(transport.TcpConnect(-1, "127.0.0.1", 110), 0);
    transport.TcpClose(1000);
    SocketNotification stray;
    stray.slot = 150;
    transport.notify(stray);
    EXPECT_TRUE(events.empty());
}

TEST_F(TcpTransportTest, ReusedSlotStartsWithAnEmptyBuffer) {
    int slot = connectedSlot();
    port.serverSends(port.lastSocket(), "+OK half a li");
    EXPECT_EQ(transport.receiveLength(slot), 13u);
    transport.TcpClose(slot);

    std::vector<RecordedEvent> second;
    ASSERT_EQ(transport.TcpOpenSlot(test::recordInto(second)), slot);
    transport.TcpConnect(slot, "127.0.0.1", 110);
    port.connectSucceeds(port.lastSocket());
    port.serverSends(port.lastSocket(), "ne\r\n");
    EXPECT_EQ(second, (std::vector<RecordedEvent>{Connected(), Line("ne")}));
}

TEST_F(TcpTransportTest, SendAfterPeerClosedFailsWith10038) {
    const int slot = connectedSlot();
    port.serverCloses(port.lastSocket());
    EXPECT_EQ(events, (std::vector<RecordedEvent>{Connected(), Closed()}));
    EXPECT_EQ(transport.TcpSend(slot, "QUIT\r\n", 6), -1);
    EXPECT_EQ(transport.lastError(), 10038);
    EXPECT_EQ(transport.TcpPrintf(slot, "QUIT\r\n"), -1);
}

TEST_F(TcpTransportTest, HandlerClosingAndReopeningItsSlotGetsNoMoreOfTheOldBytes) {
    // As the mail session does on its last line: close, open the next account.
    std::vector<RecordedEvent> next;
    int slot = -1;
    slot = transport.TcpOpenSlot([&](TcpEvent event, std::string_view data) {
        events.push_back({event, std::string(data)});
        if (event == TcpEvent::Line) {
            transport.TcpClose(slot);
            EXPECT_EQ(transport.TcpOpenSlot(test::recordInto(next)), slot);
            EXPECT_EQ(transport.TcpConnect(slot, "127.0.0.1", 110), 1);
            // The closed handler's own text is still readable.
            EXPECT_EQ(data, "+OK bye");
        }
        return std::size_t{0};
    });
    transport.TcpConnect(slot, "127.0.0.1", 110);
    const SocketHandle first = port.lastSocket();
    port.connectSucceeds(first);
    port.serverSends(first, "+OK bye\r\nleftover\r\n");
    EXPECT_EQ(events, (std::vector<RecordedEvent>{Connected(), Line("+OK bye")}));
    EXPECT_TRUE(port.socket(first).closed);
    EXPECT_TRUE(next.empty());
    EXPECT_EQ(transport.receiveLength(slot), 0u);
}

// A handler that asks for bytes after the line "+OK" and takes them up to
// and including "END\r\n", as the mail session does with a message.
struct PassingHandler {
    explicit PassingHandler(TcpTransport& owner) : transport(owner) {}

    TcpTransport& transport;
    int slot = -1;
    std::vector<std::string> lines;
    std::string passed;
    std::vector<std::size_t> pieces;  // the size of each Bytes event

    std::size_t operator()(TcpEvent event, std::string_view text) {
        if (event == TcpEvent::Line) {
            lines.emplace_back(text);
            if (text == "+OK") {
                transport.TcpPassBytes(slot, true);
            }
        } else if (event == TcpEvent::Bytes) {
            pieces.push_back(text.size());
            const std::size_t before = passed.size();
            passed += text;
            const std::size_t end = passed.find("END\r\n");
            if (end == std::string::npos) {
                return text.size();
            }
            passed.resize(end + 5);
            transport.TcpPassBytes(slot, false);
            return end + 5 - before;
        }
        return 0;
    }
};

// Passed bytes are what the server sent, however long its lines and
// whatever they hold; what follows them is cut into lines again.
TEST_F(TcpTransportTest, PassedBytesAreExactlyWhatCameAndWhatFollowsIsCutIntoLines) {
    using namespace std::string_literals;
    const std::string longLine(5000, 'x');
    const std::string content = longLine + "\r\nNUL \0 and lone \r CR\r\nbare LF\nEND\r\n"s;
    const std::string sent = "+OK\r\n" + content + "after\r\n";
    const std::vector<std::vector<std::string>> splits = {
        {sent},
        // The CR of the status line's end in one receive, its LF in the next.
        {"+OK\r", "\n" + content + "after\r\n"},
        // The status line and the start of the content in the cutter's
        // buffer, the rest of the message and the next line together.
        {sent.substr(0, 1000), sent.substr(1000)},
    };
    for (const auto& chunks : splits) {
        SCOPED_TRACE(chunks.front().substr(0, 10));
        PassingHandler handler(transport);
        handler.slot = transport.TcpOpenSlot(std::ref(handler));
        transport.TcpConnect(handler.slot, "127.0.0.1", 110);
        port.connectSucceeds(port.lastSocket());
        port.serverSends(port.lastSocket(), chunks);
        EXPECT_EQ(handler.passed, content);
        EXPECT_EQ(handler.lines, (std::vector<std::string>{"+OK", "after"}));
        transport.TcpClose(handler.slot);
    }
}

TEST_F(TcpTransportTest, PassedBytesAreReceivedInLargePieces) {
    PassingHandler handler(transport);
    handler.slot = transport.TcpOpenSlot(std::ref(handler));
    transport.TcpConnect(handler.slot, "127.0.0.1", 110);
    const SocketHandle socket = port.lastSocket();
    port.connectSucceeds(socket);
    port.serverSends(socket, "+OK\r\n");
    const std::string large(3 * TcpTransport::PassReceiveSize, 'm');
    port.serverSends(socket, large + "END\r\n");
    EXPECT_EQ(handler.passed, large + "END\r\n");
    const std::vector<int>& capacities = port.socket(socket).receiveCapacities;
    EXPECT_EQ(capacities.back(), static_cast<int>(TcpTransport::PassReceiveSize));
    EXPECT_EQ(handler.pieces.front(), TcpTransport::PassReceiveSize);
}

TEST_F(TcpTransportTest, StaleNotificationsNeverReachANewConnection) {
    // A lookup completing after its slot was closed connects nothing.
    int slot = transport.TcpOpenSlot(test::recordInto(events));
    transport.TcpConnect(slot, "localhost", 110);
    transport.TcpClose(slot);
    port.completeLookup(0, Loopback);
    EXPECT_TRUE(port.sockets.empty());

    // Nor when the slot was handed out again and started its own lookup.
    std::vector<RecordedEvent> second;
    slot = transport.TcpOpenSlot(test::recordInto(second));
    transport.TcpConnect(slot, "localhost", 110);
    transport.TcpClose(slot);
    slot = transport.TcpOpenSlot(test::recordInto(second));
    transport.TcpConnect(slot, "localhost", 995);
    port.completeLookup(1, 0x7F000002);
    EXPECT_TRUE(port.sockets.empty());
    port.completeLookup(2, Loopback);
    ASSERT_EQ(port.sockets.size(), 1u);
    EXPECT_EQ(port.socket(port.lastSocket()).port, 995);
    // ... and a completion delivered twice is taken once.
    port.completeLookup(2, Loopback);
    EXPECT_EQ(port.sockets.size(), 1u);

    // Nor when the new user connected by address: the old socket's events
    // do not match the new socket.
    const SocketHandle old = port.lastSocket();
    transport.TcpClose(slot);
    slot = transport.TcpOpenSlot(test::recordInto(second));
    transport.TcpConnect(slot, "127.0.0.1", 110);
    SocketNotification late;
    late.slot = slot;
    late.socket = old;
    late.event = FdConnect;
    port.deliver(late);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(second.empty());
}

TEST_F(TcpTransportTest, NotificationDuringDispatchIsDeliveredAfterItInOrder) {
    std::vector<std::string> order;
    const int slot = transport.TcpOpenSlot([&](TcpEvent event, std::string_view data) {
        if (event == TcpEvent::Connected) {
            order.push_back("connected begins");
            // A nested event loop inside the handler delivers more.
            port.serverSends(port.lastSocket(), "+OK one\r\n");
            port.serverSends(port.lastSocket(), "+OK two\r\n");
            order.push_back("connected ends");
        } else {
            order.emplace_back(data);
        }
        return std::size_t{0};
    });
    transport.TcpConnect(slot, "127.0.0.1", 110);
    port.connectSucceeds(port.lastSocket());
    EXPECT_EQ(order, (std::vector<std::string>{"connected begins", "connected ends", "+OK one",
                                               "+OK two"}));
}

TEST_F(TcpTransportTest, NotificationsQueuedBehindAThrowingHandlerAreStillDelivered) {
    std::vector<std::string> order;
    const int slot = transport.TcpOpenSlot([&](TcpEvent event, std::string_view data) {
        if (event == TcpEvent::Connected) {
            port.serverSends(port.lastSocket(), "+OK\r\n");
            throw std::runtime_error("handler failed");
        }
        order.emplace_back(data);
        return std::size_t{0};
    });
    transport.TcpConnect(slot, "127.0.0.1", 110);
    EXPECT_THROW(port.connectSucceeds(port.lastSocket()), std::runtime_error);
    EXPECT_TRUE(order.empty());
    port.runPosted();
    EXPECT_EQ(order, std::vector<std::string>{"+OK"});
    port.serverSends(port.lastSocket(), "+OK again\r\n");
    EXPECT_EQ(order, (std::vector<std::string>{"+OK", "+OK again"}));
}

TEST_F(TcpTransportTest, BytesTheSocketCannotTakeYetGoOutLaterInOrder) {
    const int slot = connectedSlot();
    const SocketHandle socket = port.lastSocket();
    auto& fake = port.socket(socket);
    fake.sendRoom = 3;
    EXPECT_EQ(transport.TcpSend(slot, "USER bob\r\n", 10), 10);
    EXPECT_EQ(transport.TcpPrintf(slot, "PASS %s\r\n", "pw"), 9);
    EXPECT_EQ(fake.sent, "USE");
    EXPECT_NE(fake.selected & FdWrite, 0);

    port.becomesWritable(socket, 4);
    EXPECT_EQ(fake.sent, "USER bo");
    port.becomesWritable(socket);
    EXPECT_EQ(fake.sent, "USER bob\r\nPASS pw\r\n");
    EXPECT_EQ(fake.selected, FdRead | FdOob | FdConnect | FdClose);
    EXPECT_EQ(transport.TcpSend(slot, "STAT\r\n", 6), 6);
    EXPECT_EQ(fake.sent, "USER bob\r\nPASS pw\r\nSTAT\r\n");

    // A send error other than "would block" is reported, not queued.
    fake.closed = true;
    EXPECT_EQ(transport.TcpSend(slot, "QUIT\r\n", 6), -1);
}

TEST_F(TcpTransportTest, PrintfSendsAtMost999Characters) {
    const int slot = connectedSlot();
    const std::string longText(1500, 'x');
    EXPECT_EQ(transport.TcpPrintf(slot, "TOP %s\r\n", longText.c_str()), 999);
    EXPECT_EQ(port.sentOnSlot(slot), "TOP " + longText.substr(0, 995));
}

TEST_F(TcpTransportTest, ErrorTextsFollowTheTable) {
    struct {
        int code;
        const char* text;
    } const rows[] = {
        {10035,
         "() The socket is marked as non-blocking and the requested operation would block.\n"},
        {10038, "() The descriptor is not a socket.\n"},
        {10061, "() Connection Refused\n"},
        {10093, "() A successful WSAStartup must occur before using this API.\n"},
        {10062, "() Socket Unkown error code 10062 \n"},
        {0, "() Socket Unkown error code 0 \n"},
    };
    for (const auto& row : rows) {
        port.connectError = row.code;
        const int slot = transport.TcpOpenSlot(test::recordInto(events));
        transport.TcpConnect(slot, "127.0.0.1", 110);
        EXPECT_EQ(transport.TcpErrorText(), row.text) << row.code;
        transport.TcpClose(slot);
    }
}

// A name's addresses are tried in the resolver's order, IPv6 and IPv4 alike,
// until one connects; only the last failure is reported.
TEST_F(TcpTransportTest, LookedUpAddressesAreTriedInTurn) {
    IpAddress v6Loopback;
    v6Loopback.isIpv6 = true;
    v6Loopback.ipv6[15] = 1;
    const std::vector<IpAddress> both{v6Loopback, IpAddress{false, Loopback, {}}};

    int slot = transport.TcpOpenSlot(test::recordInto(events));
    ASSERT_EQ(transport.TcpConnect(slot, "localhost", 995), 1);
    port.completeLookup(0, both);
    const SocketHandle first = port.lastSocket();
    EXPECT_TRUE(port.socket(first).ipv6);
    EXPECT_EQ(port.socket(first).address6, v6Loopback);
    EXPECT_EQ(port.socket(first).port, 995);
    port.connectFails(first, 10061);
    EXPECT_TRUE(events.empty()) << "the next address is tried first";
    EXPECT_TRUE(port.socket(first).closed);
    const SocketHandle second = port.lastSocket();
    EXPECT_FALSE(port.socket(second).ipv6);
    EXPECT_EQ(port.socket(second).address, Loopback);
    port.connectSucceeds(second);
    EXPECT_EQ(events, std::vector<RecordedEvent>{Connected()});
    transport.TcpClose(slot);

    events.clear();
    slot = transport.TcpOpenSlot(test::recordInto(events));
    transport.TcpConnect(slot, "localhost", 110);
    port.completeLookup(1, both);
    port.connectFails(port.lastSocket(), 10051);
    port.connectFails(port.lastSocket(), 10061);
    EXPECT_EQ(events,
              std::vector<RecordedEvent>{ClosedWith("Select failed () Connection Refused\n")});

    // IPv6 text goes to the resolver, which reads it without asking anyone.
    transport.TcpClose(slot);
    slot = transport.TcpOpenSlot(test::recordInto(events));
    transport.TcpConnect(slot, "2001:db8::1", 110);
    ASSERT_EQ(port.lookups.size(), 3u);
    EXPECT_EQ(port.lookups[2].host, "2001:db8::1");
}

TEST_F(TcpTransportTest, TlsConnectsAfterTheHandshakeAndFailsWithItsReason) {
    const TlsSettings settings{"localhost", ""};
    int slot = transport.TcpOpenSlot(test::recordInto(events));
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", 995, settings), 1);
    ASSERT_TRUE(port.socket(port.lastSocket()).tls.has_value());
    EXPECT_EQ(port.socket(port.lastSocket()).tls->serverName, "localhost");
    port.tlsDone(port.lastSocket(), "TLS: TLSv1.3 with X", 0, "AB");
    EXPECT_EQ(events, std::vector<RecordedEvent>{Connected()});
    EXPECT_FALSE(transport.TcpSecurityOf(slot).failed);
    EXPECT_EQ(transport.TcpSecurityOf(slot).text, "TLS: TLSv1.3 with X");
    transport.TcpClose(slot);

    // A failed check ends the connection with its reason; the server was
    // reached, so no other address of it is tried.
    events.clear();
    slot = transport.TcpOpenSlot(test::recordInto(events));
    transport.TcpConnect(slot, "localhost", 995, settings);
    port.completeLookup(0, std::vector<IpAddress>{IpAddress{false, Loopback, {}},
                                                  IpAddress{false, Loopback + 1, {}}});
    const SocketHandle checked = port.lastSocket();
    port.tlsDone(checked, "TLS: certificate verify failed (x) for localhost", 10053, "AB");
    EXPECT_EQ(events, std::vector<RecordedEvent>{
                          ClosedWith("TLS: certificate verify failed (x) for localhost")});
    EXPECT_EQ(port.lastSocket(), checked);
    EXPECT_TRUE(transport.TcpSecurityOf(slot).failed);
    EXPECT_EQ(transport.TcpSecurityOf(slot).peerFingerprint, "AB");
}

// Turning to TLS mid-conversation: refused while bytes sent in clear after the
// reply are held (the server could not know the reply yet), and nothing
// more is delivered either way; the handshake's end connects again. A reply
// whose LF has not come with its CR tells the handshake that an LF may
// still lead.
TEST_F(TcpTransportTest, StartTlsOnlyRightAfterTheReplyAndConnectsAgainAfterIt) {
    struct Case {
        const char* name;
        std::string bytes;
        int started;
        bool lineFeedMayLead;
    } const cases[] = {
        {"the reply alone", "+OK go\r\n", 1, false},
        {"the reply up to its CR", "+OK go\r", 1, true},
        {"the reply ended by an LF alone", "+OK go\n", 1, false},
        {"clear text behind the reply", "+OK go\r\n-ERR sent in clear\r\n", 0, false},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        events.clear();
        int started = -1;
        int slot = -1;
        slot = transport.TcpOpenSlot([&](TcpEvent event, std::string_view data) {
            events.push_back({event, std::string(data)});
            if (event == TcpEvent::Line) {
                started = transport.TcpStartTls(
                    slot, TlsSettings{.serverName = "localhost", .pinnedSha256 = ""});
            }
            return std::size_t{0};
        });
        transport.TcpConnect(slot, "127.0.0.1", 110);
        const SocketHandle socket = port.lastSocket();
        port.connectSucceeds(socket);
        port.serverSends(socket, each.bytes);
        EXPECT_EQ(started, each.started);
        EXPECT_EQ(port.socket(socket).tls.has_value(), each.started == 1);
        if (port.socket(socket).tls) {
            EXPECT_EQ(port.socket(socket).tls->lineFeedMayLead, each.lineFeedMayLead);
        }
        EXPECT_EQ(events, (std::vector<RecordedEvent>{Connected(), Line("+OK go")}));
        EXPECT_EQ(transport.TcpSecurityOf(slot).failed, each.started == 0);
        if (each.started == 1) {
            port.tlsDone(socket, "TLS: TLSv1.3 with X");
            EXPECT_EQ(events,
                      (std::vector<RecordedEvent>{Connected(), Line("+OK go"), Connected()}));
        } else {
            EXPECT_EQ(transport.TcpSecurityOf(slot).text,
                      "TLS: the server sent data ahead of the TLS handshake for localhost");
        }
        transport.TcpClose(slot);
    }
}

}  // namespace
}  // namespace mivo
