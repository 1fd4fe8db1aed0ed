#pragma once
// Reads the message of a RETR reply from the reply's bytes as they come, in
// pieces split anywhere: the message's own bytes, whatever its line lengths
// and whatever bytes its lines hold, with the POP3 framing undone (the dot a
// server puts before a line that begins with one, the final "." line) and
// each CR LF written as an LF.

#include <cstddef>
#include <string>
#include <string_view>

namespace mivo {

class MessageReader {
public:
    // A new message: the first byte taken begins its first line.
    void begin();
    // Appends to `message` what `bytes` hold of the message, and returns how
    // many of `bytes` were the reply's: all of them until the final line,
    // then up to and including its line end.
    std::size_t take(std::string_view bytes, std::string& message);
    bool ended() const { return m_ended; }

private:
    // Where the last piece stopped, when the next piece decides what its last
    // bytes were.
    enum class Held {
        Nothing,
        LineStart,  // the line's first byte is still to come
        Dot,        // a line began with "."
        DotCr,      // a line began with "." CR
        Cr,         // a CR inside a line, which an LF would make a line end
    };

    Held m_held = Held::LineStart;
    bool m_ended = false;
};

}  // namespace mivo
