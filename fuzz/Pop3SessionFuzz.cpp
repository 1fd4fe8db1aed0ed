// Runs a whole Program on fake ports and lets the input play a hostile POP3
// server: any bytes, cut anywhere, between ticks of the check clock and
// seconds of real time, then a hang-up, with or without rules that download,
// delete and run programs. After every step the texts the server can feed
// stay bounded, no socket and no download is left open when the check is
// idle, and a finished connection always ends its cycle.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "FakePorts.h"
#include "FakeProgramPorts.h"
#include "FakeSocketPort.h"
#include "app/Program.h"
#include "cycle/CheckCycle.h"
#include "cycle/CheckTimer.h"
#include "transport/LineCutter.h"

namespace mivo {
namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// What the previous checks may have left in lastNumKnown: STAT counts are
// read as any int, negative ones included.
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kKnownPresets[8] = {0, 1, 2, 5, -1, kIntMin, kIntMax - 1, kIntMax};

// A response may pass the limit by the one line that crossed it.
constexpr std::size_t kHeldResponseLimit = ReplyCollector::kLimit + LineCutter::Capacity + 2;

// Enough to run one response past its limit, and no more, so that every
// input stays quick. Floods stop short of it, so that the end of an
// overlong response can still be sent after one.
constexpr std::size_t kServerByteBudget = ReplyCollector::kLimit + 65536;
constexpr std::size_t kFloodByteBudget = ReplyCollector::kLimit + 32768;

// Line ends (CR and LF each count) a run's floods may bring: each line costs
// a trip through the whole engine, and a megabyte of one-byte lines would
// make every such input slow. Enough for CR LF lines of the longest unit to
// fill a response to its limit.
constexpr std::size_t kLongestFloodUnit = 256;
constexpr std::size_t kFloodLineBudget = 2 * (kFloodByteBudget / kLongestFloodUnit);

// Enough for a silent connection to time out and for two timed checks.
constexpr int kTickBudget = 500;
constexpr std::int64_t kMillisecondsPerTick = 1000;

enum Flag : std::uint8_t {
    NewMLevel = 1,
    GreetedBefore = 2,
    SecondAccount = 4,
    LogViewerOpen = 8,
    Terminating = 16,
    ServerStopsReading = 32,
    EndWithReset = 64,
    NoTimedChecks = 128,
};

enum Op : std::uint8_t {
    Send,       // ((arg << 8) | next byte) + 1 bytes follow
    Flood,      // next byte + 1 bytes follow, sent 2^(arg % 16) times
    FewTicks,   // arg + 1 ticks
    ManyTicks,  // 8 * (arg + 1) ticks
    Close,
    Reset,
    CheckNow,  // arg bit 0: Reset button first
    Writable,  // room 16 * arg, or unlimited for arg 31
};

// Rules a run may have in use: none, or rules whose actions the server's
// replies drive into stages D, E and F.
enum class Rules : std::uint8_t { None, DownloadAndRun, DeleteOnly, Everything };

void useRules(MainWindowModel& window, Rules rules) {
    if (rules == Rules::None) {
        return;
    }
    window.UseRule = true;
    // Rule 1 on Subject, rule 2 on From ("Fro"), both with short texts a
    // fuzzer finds at once; a program text no format could survive.
    window.SBn[1].itemIndex.set(8);
    window.En[1].set("a");
    window.SBn[2].itemIndex.set(3);
    window.En[2].set("o");
    window.Urgentn[2].set(true);
    const bool download = rules != Rules::DeleteOnly;
    const bool remove = rules != Rules::DownloadAndRun;
    for (int rule = 1; rule <= 2; ++rule) {
        window.DLn[rule].set(download);
        window.DELn[rule].set(remove);
    }
    if (download) {
        window.RunFilen[1].set("v %s %n %s %%%");
    }
}

class Run : public test::FakeProgramPorts {
public:
    Run(std::uint8_t flags, int known, bool knownByIds, Rules rules, std::size_t chunkSize)
        : m_flags(flags), m_chunkSize(chunkSize) {
        timers.clock = &clock;
        program.bringIntoService();
        program.log().onAppend([this](std::string_view text) { m_lastAppended = text.size(); });
        // Replaying one input with MIVO_FUZZ_TRACE set shows what the
        // program made of it.
        static const bool trace = std::getenv("MIVO_FUZZ_TRACE") != nullptr;
        if (trace) {
            program.log().onAppend([](std::string_view text) {
                std::fprintf(stderr, "log: %.*s\n", static_cast<int>(text.size()), text.data());
            });
        }
        window.accountUser(1).set("user");
        window.accountPass(1).set("pass");
        window.accountPop(1).set("127.0.0.1");
        if (has(SecondAccount)) {
            window.accountUser(2).set("other");
            window.accountPass(2).set("pw");
            window.accountPop(2).set("127.0.0.2:1100");
        }
        window.NewMLevelNumber.set(has(NewMLevel));
        window.CheckBox2.set(!has(NoTimedChecks));
        window.logViewerOpen = has(LogViewerOpen);
        program.cycleState().CCW[1] = has(GreetedBefore);
        program.cycleState().lastNumKnown[1] = known;
        if (knownByIds) {
            // Ids an earlier check kept, for listings that name them or not.
            program.cycleState().seenIds[1] = MessageIds{"1", "a", "x"};
        }
        program.cycleState().terminating = has(Terminating);
        useRules(window, rules);
    }

    void start() {
        program.mainWindow().Button4Click();
        settle();
    }

    void send(std::string_view bytes) {
        bytes = bytes.substr(0, kServerByteBudget - m_delivered);
        m_delivered += bytes.size();
        deliver(bytes, m_chunkSize);
    }

    void flood(std::string_view unit, unsigned doublings) {
        const std::size_t lineEnds = static_cast<std::size_t>(
            std::count_if(unit.begin(), unit.end(), [](char c) { return c == '\r' || c == '\n'; }));
        std::size_t repeats = std::size_t{1} << doublings;
        if (lineEnds != 0) {
            repeats = std::min(repeats, (kFloodLineBudget - m_floodLines) / lineEnds);
        }
        // Whole units only, so that what follows a flood starts a line of
        // its own whenever the unit ends one.
        const std::size_t room = kFloodByteBudget - std::min(m_delivered, kFloodByteBudget);
        repeats = unit.empty() ? 0 : std::min(repeats, room / unit.size());
        std::string bytes;
        bytes.reserve(repeats * unit.size());
        for (std::size_t i = 0; i < repeats; ++i) {
            bytes += unit;
        }
        m_floodLines += repeats * lineEnds;
        m_delivered += bytes.size();
        // Pieces of the most one receive takes: how bytes are cut is what
        // Send explores.
        deliver(bytes, LineCutter::Capacity);
    }

    void ticks(int count) {
        count = std::min(count, kTickBudget - m_ticks);
        m_ticks += count;
        for (int i = 0; i < count; ++i) {
            // Each tick is a second of real time for the connection watch.
            timers.passTime(clock, kMillisecondsPerTick, TimerId::ConnectionWatch);
            settle();
            // The check clock runs through its ticks, but only some go
            // through the program; the others would only count, log and
            // redraw. The first one of each step, so that every state the
            // input reaches is drawn, the ones the cycle acts on, and every
            // few in between for each stretch of the clock's colours. Two
            // timed checks are then a few dozen calls instead of four hundred.
            if (i == 0 || clockActsAt(window.TickCount + 1)) {
                timers.tick(TimerId::Timer1);
                settle();
            } else {
                ++window.TickCount;
            }
        }
    }

    void hangUp(bool reset) {
        const SocketHandle socket = sockets.lastSocket();
        if (reset) {
            sockets.serverResets(socket);
        } else {
            sockets.serverCloses(socket);
        }
        settle();
    }

    void checkNow(bool resetFirst) {
        if (resetFirst) {
            program.mainWindow().Button2Click();
            settle();
        }
        program.mainWindow().Button4Click();
        settle();
    }

    // Only a server that stopped reading makes room again.
    void writable(int room) {
        if (!has(ServerStopsReading)) {
            return;
        }
        sockets.becomesWritable(sockets.lastSocket(), room);
        settle();
    }

    // Hangs up on every connection still open, as each account's server
    // would at last, and checks that the cycle came to its end.
    void finish() {
        for (int round = 0; round <= kAccountCount && busy(); ++round) {
            hangUp(has(EndWithReset));
        }
        check(!busy(), "the cycle ends");
        check(program.cycleState().Account == 0, "the summary ends the cycle");
    }

private:
    static bool clockActsAt(int tick) {
        constexpr int kSampledTicks = 25;
        return tick % kSampledTicks == 0 || tick == CheckTimer::kCaptionResetTick ||
               tick == CheckCycle::kConnectTimeoutTick || tick > CheckTimer::kTicksPerInterval;
    }

    bool has(Flag flag) const { return (m_flags & flag) != 0; }
    bool busy() const { return program.cycleState().connected || program.cycleState().connecting; }

    // Every connection the program opens is accepted at once, so that only
    // the server's bytes decide what happens on it.
    void acceptNewConnection() {
        const SocketHandle socket = sockets.lastSocket();
        if (socket == InvalidSocket || socket == m_accepted) {
            return;
        }
        m_accepted = socket;
        if (has(ServerStopsReading)) {
            sockets.socket(socket).sendRoom = 0;
        }
        sockets.connectSucceeds(socket);
    }

    void deliver(std::string_view bytes, std::size_t pieceSize) {
        sockets.serverSendsInPieces(sockets.lastSocket(), bytes, pieceSize);
        settle();
    }

    void settle() {
        acceptNewConnection();
        checkInvariants();
    }

    void checkInvariants() {
        const std::size_t logLimit = Log::kLimit + m_lastAppended + 2;
        check(program.log().text().size() <= logLimit, "Log bounded");
        if (window.logViewerOpen) {
            check(program.logViewer().LogCopy.get().size() <= logLimit, "log viewer copy bounded");
        }
        check(window.PacketBuffer.get().size() <= kHeldResponseLimit, "PacketBuffer bounded");
        check(window.Memo1.get().size() <= kHeldResponseLimit, "Memo1 bounded");
        const int slot = program.cycleState().transportSlot;
        check(program.transport().receiveLength(slot) <= LineCutter::Capacity,
              "received bytes bounded");

        check(downloads.open <= 1, "one download at a time");
        if (!busy()) {
            check(downloads.open == 0, "no download left open");
            // Nothing may still hold a socket.
            for (const auto& [handle, socket] : sockets.sockets) {
                check(socket.closed, "socket released");
            }
            if (!has(SecondAccount)) {
                check(program.cycleState().Account == 0, "cycle over when idle");
            }
        }
        if (!has(ServerStopsReading)) {
            // Every command goes out whole, with its line end.
            for (const auto& [handle, socket] : sockets.sockets) {
                const std::string& sent = socket.sent;
                check(sent.empty() || std::string_view(sent).substr(sent.size() - 1) == "\n",
                      "commands end with their line end");
            }
        }
        // What a connection collects grows with what its server sent, not
        // faster. (The new-mail window grows with every cycle while it is
        // open, whatever the server sends, so it is not counted here.)
        const std::size_t collected = window.Memo4.get().size() +
                                      program.accountsDialog().Errors.get().size() +
                                      program.accountsDialog().Memon[1].get().size();
        check(collected <= 8 * m_delivered + 4096 * sockets.sockets.size() + 65536,
              "collected texts grow with the input");
    }

    std::uint8_t m_flags;
    std::size_t m_chunkSize;
    std::size_t m_lastAppended = 0;
    std::size_t m_delivered = 0;
    std::size_t m_floodLines = 0;
    int m_ticks = 0;
    SocketHandle m_accepted = InvalidSocket;

public:
    Program program{ports()};
    MainWindowModel& window = program.mainWindowModel();
};

}  // namespace
}  // namespace mivo

// Input: flags, the lastNumKnown preset (low three bits), the rules (the
// next two) and whether ids were seen (the next), the piece size of
// sent bytes (0 for 256), then operations: one byte each, the kind in the top
// three bits and an argument in the low five, with the bytes a send carries.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mivo;
    if (size < 3) {
        return 0;
    }
    const std::size_t chunkSize = data[2] == 0 ? 256 : data[2];
    Run run(data[0], kKnownPresets[data[1] & 7], ((data[1] >> 5) & 1) != 0,
            static_cast<Rules>((data[1] >> 3) & 3), chunkSize);
    std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const auto take = [&rest](std::size_t count) {
        const std::string_view bytes = rest.substr(0, count);
        rest.remove_prefix(bytes.size());
        return bytes;
    };
    const auto takeByte = [&rest, &take]() -> unsigned {
        return rest.empty() ? 0 : static_cast<unsigned char>(take(1).front());
    };

    run.start();
    while (!rest.empty()) {
        const unsigned op = takeByte();
        const unsigned arg = op & 31;
        switch (op >> 5) {
            case Send: {
                const std::size_t length = ((arg << 8) | takeByte()) + 1;
                run.send(take(length));
                break;
            }
            case Flood: {
                const std::size_t length = std::size_t{takeByte()} + 1;
                run.flood(take(length), arg % 16);
                break;
            }
            case FewTicks:
                run.ticks(static_cast<int>(arg) + 1);
                break;
            case ManyTicks:
                run.ticks(8 * (static_cast<int>(arg) + 1));
                break;
            case Close:
                run.hangUp(false);
                break;
            case Reset:
                run.hangUp(true);
                break;
            case CheckNow:
                run.checkNow((arg & 1) != 0);
                break;
            case Writable:
                run.writable(arg == 31 ? -1 : static_cast<int>(16 * arg));
                break;
            default:
                break;
        }
    }
    run.finish();
    return 0;
}
