#include "transport/LineCutter.h"

#include <algorithm>
#include <cstring>

namespace mivo {

void LineCutter::reserve() {
    // Room for the held bytes plus one receive, allocated once.
    m_held.reserve(3000);
    m_line.reserve(Capacity);
}

void LineCutter::clear() {
    // m_line is left alone: a handler may still be reading the last line
    // while it closes its connection.
    m_held.clear();
    m_crEndedHeld = false;
}

std::size_t LineCutter::makeRoom() {
    if (m_held.size() > DropAbove) {
        m_held.erase(0, DropStep);
    }
    return Capacity - std::min(m_held.size(), Capacity);
}

void LineCutter::append(std::string_view bytes) {
    if (m_crEndedHeld && !bytes.empty()) {
        // A CR and its LF split between two receives are still one line end.
        m_crEndedHeld = false;
        if (bytes.front() == '\n') {
            bytes.remove_prefix(1);
        }
    }
    const std::size_t room = Capacity - std::min(m_held.size(), Capacity);
    m_held.append(bytes.substr(0, room));
}

std::optional<std::string_view> LineCutter::cutLine() {
    std::size_t end = m_held.find('\r');
    if (end == std::string::npos) {
        end = m_held.find('\n');
        if (end == std::string::npos) {
            return std::nullopt;
        }
    }
    std::size_t lineEndSize = 1;
    if (end + 1 < m_held.size() && m_held[end + 1] == '\n') {
        lineEndSize = 2;
    }
    m_crEndedHeld = m_held[end] == '\r' && end + 1 == m_held.size();
    m_line.assign(m_held, 0, end);
    m_held.erase(0, end + lineEndSize);
    return std::string_view(m_line.c_str(), std::strlen(m_line.c_str()));
}

}  // namespace mivo
