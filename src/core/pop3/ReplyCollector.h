#pragma once
// Gathers the lines of one server reply in PacketBuffer and tells when the
// reply is whole. What a reply means is the session's business.

#include <cstddef>
#include <string>
#include <string_view>

#include "fields/Field.h"

namespace mivo {

class ReplyCollector {
public:
    // A reply is gathered whole up to this size; a server that never ends
    // one cannot make the program hold more.
    static constexpr std::size_t kLimit = std::size_t{1} << 20;

    // How the reply a stage waits for ends.
    enum class Ending {
        StatusLine,  // a line with "+OK", or a line break inside the line
        StatLine,    // a line with "+OK", or a CR LF inside the line
        LineBreak,   // a line break inside the line, which in practice never comes
        FirstLine,   // its first line
        DotLine,     // the line that is exactly "."
        Never,
    };

    explicit ReplyCollector(TextField& packetBuffer) : m_packetBuffer(packetBuffer) {}

    // A new connection: nothing gathered yet.
    void startConnection();
    // Adds a received line; the first line after a whole reply starts a new one.
    void add(std::string_view line);
    // Whether the reply gathered so far is the server's negative answer.
    bool refused() const;
    static bool completes(Ending ending, std::string_view line);
    // The reply is whole: the next line begins the next one.
    void finish() { m_finished = true; }
    // The reply goes on with the next line.
    void continueReply() { m_finished = false; }
    const std::string& text() const { return m_packetBuffer.get(); }

private:
    TextField& m_packetBuffer;
    bool m_finished = false;
};

}  // namespace mivo
