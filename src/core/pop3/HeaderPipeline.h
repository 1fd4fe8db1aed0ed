#pragma once
// Sends a check's TOP commands ahead of their answers to a server that
// offers PIPELINING, so that many new messages cost a round trip per window
// of commands rather than one each. The session still reads the answers one
// at a time, in order, and says and counts everything as it takes each one;
// this decides only which commands go out when, and which answers nobody
// waits for any more.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mivo {

// "TOP n 0" with its line end: the headers of message `number`.
std::string topCommand(std::int64_t number);

class HeaderPipeline {
public:
    // Called for every answer the session is about to read, with the
    // commands to send then, if any.
    using Send = std::function<void(std::string_view commands)>;
    // The next message whose headers are wanted, in the order the session
    // reads them, or none once all have been given.
    using NextNumber = std::function<std::optional<std::int64_t>()>;

    // At most this many commands are unanswered at a time. Even at their
    // longest ("TOP 2147483647 0") they fit the smallest socket buffers
    // systems give, so sending them never waits on the server reading, and
    // a server that stops reading while its answers back up never holds us
    // up: we read its answers as they come, whatever we have sent. 64 are
    // more than a 20 ms round trip's worth of answers on a link fast enough
    // to carry them.
    static constexpr std::size_t kMaxCommands = 64;
    static constexpr std::size_t kLongestCommand = 18;
    static constexpr std::size_t kSmallestSocketBuffer = 4096;
    static_assert(kMaxCommands * kLongestCommand <= kSmallestSocketBuffer);

    explicit HeaderPipeline(Send send) : m_send(std::move(send)) {}

    // A new conversation: commands go one at a time, nothing is skipped.
    void reset();

    void askCapabilities();
    // One line of the answer to CAPA; true once the answer is over. A
    // refusal is an answer too: the server offers nothing.
    bool capabilityLine(std::string_view line);
    // Commands go ahead from now on when the server offered PIPELINING.
    // `next` gives the messages to ask for, the first one first.
    void startIfOffered(NextNumber next);
    bool sendsAhead() const { return static_cast<bool>(m_next); }

    // The session is about to read the answer for message `number`, the
    // answers before it taken: its TOP goes out now unless it went ahead,
    // and the window is filled up again.
    void request(std::int64_t number);

    // The answers to the commands sent ahead of the one being read will not
    // be read: they are skipped as they arrive, and nothing more goes ahead.
    void abandon();
    // Whether `line` belongs to an answer being skipped.
    bool skips(std::string_view line);

private:
    void fill(std::string& commands);

    Send m_send;
    NextNumber m_next;
    std::deque<std::int64_t> m_unanswered;  // the one being read first
    bool m_capabilitiesBegun = false;
    bool m_pipeliningOffered = false;
    std::size_t m_answersToSkip = 0;
    bool m_insideSkippedAnswer = false;
};

}  // namespace mivo
