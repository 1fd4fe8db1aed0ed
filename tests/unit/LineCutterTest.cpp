#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "FakeSocketPort.h"
#include "TransportEvents.h"
#include "transport/LineCutter.h"
#include "transport/TcpTransport.h"

namespace mivo {
namespace {

using test::Closed;
using test::Connected;
using test::Line;
using test::RecordedEvent;

// Bytes the server sends, followed by an orderly close. The line rules look
// only at what is held, so where a receive ends matters: `lines` is what
// arrives when all bytes come in one receive and for every split into two
// receives not listed in `splits`; `byteByByte` when each byte comes alone.
struct CuttingCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    std::map<std::size_t, std::vector<std::string>> splits;
    std::vector<std::string> byteByByte;
};

std::string operator""_b(const char* text, std::size_t size) {
    return std::string(text, size);
}

const std::vector<CuttingCase> CuttingCases = {
    // A CR and its LF are one line end however the receives cut them.
    {"CrLfInOnePiece", "+OK ready\r\n", {"+OK ready"}, {}, {"+OK ready"}},
    {"CrLfIsOneLineEndInEverySplit", "+OK\r\n-ERR x\r\n", {"+OK", "-ERR x"}, {}, {"+OK", "-ERR x"}},
    {"CrWinsOverAnEarlierLf", "a\nb\r\n", {"a\nb"}, {{2, {"a", "b"}}, {3, {"a", "b"}}}, {"a", "b"}},
    {"LfLfIsOneLineEnd", "a\n\nb\n", {"a", "b"}, {{2, {"a", "", "b"}}}, {"a", "", "b"}},
    // Only the LF that comes right after a CR belongs to it.
    {"CrThenCrLfIsAnEmptyLine", "a\r\r\nb\r\n", {"a", "", "b"}, {}, {"a", "", "b"}},
    {"FinalPieceWithoutLineEndIsNeverDelivered", "+OK\r\npartial", {"+OK"}, {}, {"+OK"}},
    {"NoLineEndAtAll", "no line end", {}, {}, {}},
    {"EmbeddedNulEndsTheLength", "ab\0cd\r\nnext\r\n"_b, {"ab", "next"}, {}, {"ab", "next"}},
    {"EmptyLine", "\r\n", {""}, {}, {""}},
};

void PrintTo(const CuttingCase& cuttingCase, std::ostream* out) {
    *out << cuttingCase.name;
}

// Connects a fresh slot, plays `chunks` and a close, returns the events.
std::vector<RecordedEvent> play(const std::vector<std::string>& chunks) {
    test::FakeSocketPort port;
    TcpTransport transport(port);
    transport.TcpInit();
    std::vector<RecordedEvent> events;
    const int slot = transport.TcpOpenSlot(test::recordInto(events));
    EXPECT_EQ(transport.TcpConnect(slot, "127.0.0.1", 110), 1);
    const SocketHandle socket = port.lastSocket();
    port.connectSucceeds(socket);
    for (const std::string& chunk : chunks) {
        port.serverSends(socket, chunk);
    }
    port.serverCloses(socket);
    return events;
}

std::vector<RecordedEvent> expected(const std::vector<std::string>& lines) {
    std::vector<RecordedEvent> events{Connected()};
    for (const std::string& line : lines) {
        events.push_back(Line(line));
    }
    events.push_back(Closed());
    return events;
}

class LineCutting : public ::testing::TestWithParam<CuttingCase> {};

TEST_P(LineCutting, DeliversLinesForEveryChunking) {
    const CuttingCase& c = GetParam();
    EXPECT_EQ(play({c.bytes}), expected(c.lines)) << "in one piece";

    for (std::size_t at = 1; at < c.bytes.size(); ++at) {
        const auto special = c.splits.find(at);
        EXPECT_EQ(play({c.bytes.substr(0, at), c.bytes.substr(at)}),
                  expected(special != c.splits.end() ? special->second : c.lines))
            << "split at " << at;
    }

    std::vector<std::string> single;
    for (char byte : c.bytes) {
        single.emplace_back(1, byte);
    }
    EXPECT_EQ(play(single), expected(c.byteByByte)) << "byte by byte";
}

INSTANTIATE_TEST_SUITE_P(Cases, LineCutting, ::testing::ValuesIn(CuttingCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(LineCutterTest, LongLineKeepsItsTailAndTheBufferStaysWithin2100Bytes) {
    std::string line;
    for (int i = 0; i < 5000; ++i) {
        line += static_cast<char>('a' + i % 26);
    }
    const std::string bytes = line + "\r\n";
    for (std::size_t piece : {bytes.size(), std::size_t{1000}, std::size_t{7}}) {
        SCOPED_TRACE("pieces of " + std::to_string(piece));
        test::FakeSocketPort port;
        TcpTransport transport(port);
        transport.TcpInit();
        std::vector<RecordedEvent> events;
        const int slot = transport.TcpOpenSlot(test::recordInto(events));
        transport.TcpConnect(slot, "127.0.0.1", 110);
        const SocketHandle socket = port.lastSocket();
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            port.serverSends(socket, bytes.substr(at, piece));
            ASSERT_LE(transport.receiveLength(slot), LineCutter::Capacity);
        }
        for (int capacity : port.socket(socket).receiveCapacities) {
            ASSERT_LE(capacity, static_cast<int>(LineCutter::Capacity));
        }
        ASSERT_EQ(events.size(), 1u);
        const std::string& got = events[0].data;
        EXPECT_GE(got.size(), LineCutter::DropAbove);
        EXPECT_LE(got.size(), LineCutter::Capacity);
        EXPECT_EQ(got, line.substr(line.size() - got.size()));
        EXPECT_EQ(transport.receiveLength(slot), 0u);
    }
}

// An ordinary reply of 2104 bytes in one write: the 2100-byte receive ends
// between the CR and the LF of its header line, and the final "." must still
// come out as a line of its own.
TEST(LineCutterTest, AReceiveLimitBetweenCrAndLfLosesNothing) {
    const std::string header = "X-Long: " + std::string(2099 - 5 - 8, 'h');
    const std::string reply = "+OK\r\n" + header + "\r\n.\r\n";
    ASSERT_EQ(reply.size(), 2104u);
    ASSERT_EQ(reply[LineCutter::Capacity - 1], '\r');
    EXPECT_EQ(play({reply}), expected({"+OK", header, "."}));
}

TEST(LineCutterTest, LineTextSurvivesClearingWhileAHandlerStillReadsIt) {
    LineCutter cutter;
    cutter.reserve();
    cutter.makeRoom();
    cutter.append("-ERR bad\r\nmore");
    const auto line = cutter.cutLine();
    ASSERT_TRUE(line);
    cutter.clear();  // the handler closed its slot
    EXPECT_EQ(*line, "-ERR bad");
    EXPECT_EQ(cutter.size(), 0u);
}

}  // namespace
}  // namespace mivo
