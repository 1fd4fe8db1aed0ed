#pragma once
// Cuts one connection's received bytes into lines. The buffer is bounded: a
// line longer than the limit loses its beginning, 100 bytes at a time.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mivo {

class LineCutter {
public:
    static constexpr std::size_t Capacity = 2100;  // bytes held at most
    static constexpr std::size_t DropAbove = 2000;
    static constexpr std::size_t DropStep = 100;

    // Allocates the buffers once, so receiving and cutting never allocate.
    void reserve();
    void clear();
    std::size_t size() const { return m_held.size() - m_start; }

    // Call before each receive: when more than 2000 bytes are held the oldest
    // 100 are dropped. Returns how many bytes the receive may bring.
    std::size_t makeRoom();
    // Adds received bytes; whatever exceeds the room is cut off.
    void append(std::string_view bytes);

    // Cuts the next line off the front. The line end is the first CR held or,
    // only when there is no CR at all, the first LF; an LF right after it
    // belongs to the same line end, also when it only comes with the next
    // receive. The line's length counts up to its first NUL, and its text
    // stays valid (and NUL-terminated) until the next cut.
    std::optional<std::string_view> cutLine();
    // The last line ended in a CR that was the last byte held: an LF that
    // comes next still belongs to that line end.
    bool awaitsLineFeed() const { return m_crEndedHeld; }

    // For bytes that go past the cutting: hands over what is held, in
    // order, and leaves the cutter empty.
    void takeHeld(std::string& into);
    // `bytes` less the LF that completes the last line's CR, when the CR
    // was the last byte held.
    std::string_view withoutPendingLf(std::string_view bytes);

private:
    void dropConsumed();

    // Bytes held are m_held from m_start on: cutting a line only moves
    // m_start, so the rest of a reply is not shifted once for every line.
    std::string m_held;
    std::size_t m_start = 0;
    std::string m_line;
    // The last line ended in a CR that was the last byte held: an LF that
    // arrives next completes that line end.
    bool m_crEndedHeld = false;
};

}  // namespace mivo
