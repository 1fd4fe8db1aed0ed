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
    m_start = 0;
    m_crEndedHeld = false;
}

void LineCutter::dropConsumed() {
    if (m_start > 0) {
        m_held.erase(0, m_start);
        m_start = 0;
    }
}

std::size_t LineCutter::makeRoom() {
    if (size() > DropAbove) {
        m_start += DropStep;
    }
    dropConsumed();
    return Capacity - std::min(size(), Capacity);
}

std::string_view LineCutter::withoutPendingLf(std::string_view bytes) {
    if (m_crEndedHeld && !bytes.empty()) {
        // A CR and its LF split between two receives are still one line end.
        m_crEndedHeld = false;
        if (bytes.front() == '\n') {
            bytes.remove_prefix(1);
        }
    }
    return bytes;
}

void LineCutter::takeHeld(std::string& into) {
    into.assign(m_held, m_start);
    m_held.clear();
    m_start = 0;
}

void LineCutter::append(std::string_view bytes) {
    bytes = withoutPendingLf(bytes);
    dropConsumed();
    const std::size_t room = Capacity - std::min(size(), Capacity);
    m_held.append(bytes.substr(0, room));
}

std::optional<std::string_view> LineCutter::cutLine() {
    const std::string_view held = std::string_view(m_held).substr(m_start);
    std::size_t end = held.find('\r');
    if (end == std::string_view::npos) {
        end = held.find('\n');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
    }
    std::size_t lineEndSize = 1;
    if (end + 1 < held.size() && held[end + 1] == '\n') {
        lineEndSize = 2;
    }
    const bool endsInLastHeldCr = held[end] == '\r' && end + 1 == held.size();
    m_line.assign(held.substr(0, end));
    m_start += end + lineEndSize;
    if (m_start == m_held.size()) {
        // The usual end of a reply: nothing is left to move later.
        m_held.clear();
        m_start = 0;
    }
    m_crEndedHeld = endsInLastHeldCr;
    return std::string_view(m_line.c_str(), std::strlen(m_line.c_str()));
}

}  // namespace mivo
