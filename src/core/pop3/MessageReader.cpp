#include "pop3/MessageReader.h"

#include <cstring>

namespace mivo {

void MessageReader::begin() {
    m_held = Held::LineStart;
    m_ended = false;
}

std::size_t MessageReader::take(std::string_view bytes, std::string& message) {
    std::size_t at = 0;
    while (at < bytes.size() && !m_ended) {
        const char next = bytes[at];
        switch (m_held) {
            case Held::LineStart:
                m_held = Held::Nothing;
                if (next == '.') {
                    m_held = Held::Dot;
                    ++at;
                    continue;
                }
                break;
            case Held::Dot:
                m_held = Held::Nothing;
                if (next == '\r') {
                    m_held = Held::DotCr;
                    ++at;
                    continue;
                }
                if (next == '\n') {
                    m_ended = true;
                    ++at;
                    continue;
                }
                break;  // the dot was the server's; the line goes on without it
            case Held::DotCr:
                m_held = Held::Nothing;
                if (next == '\n') {
                    m_ended = true;
                    ++at;
                    continue;
                }
                message += '\r';
                break;
            case Held::Cr:
                m_held = Held::Nothing;
                if (next == '\n') {
                    message += '\n';
                    m_held = Held::LineStart;
                    ++at;
                    continue;
                }
                message += '\r';
                break;
            case Held::Nothing:
                break;
        }
        // Inside a line: up to its end in one piece, which is where a large
        // message spends its time.
        const std::string_view rest = bytes.substr(at);
        const void* found = std::memchr(rest.data(), '\n', rest.size());
        if (found == nullptr) {
            std::size_t keep = rest.size();
            if (rest.back() == '\r') {
                m_held = Held::Cr;
                --keep;
            }
            message.append(rest.data(), keep);
            at = bytes.size();
            break;
        }
        const auto lineFeed =
            static_cast<std::size_t>(static_cast<const char*>(found) - rest.data());
        std::size_t content = lineFeed;
        if (content > 0 && rest[content - 1] == '\r') {
            --content;
        }
        message.append(rest.data(), content);
        message += '\n';
        m_held = Held::LineStart;
        at += lineFeed + 1;
    }
    return at;
}

}  // namespace mivo
