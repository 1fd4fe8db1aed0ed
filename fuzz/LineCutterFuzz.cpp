// Feeds arbitrary bytes, received in arbitrary pieces, to the line cutter and
// checks what must hold for any input: the buffer stays within its limit, no
// delivered line holds a CR, and every length adds up.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "transport/LineCutter.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

// Input: one byte n (the count of piece sizes, 0..15), then n bytes of piece
// sizes (each 1..256, used in turn), then the received bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t sizeCount = std::min<std::size_t>(data[0] & 0x0F, size - 1);
    std::vector<std::size_t> pieceSizes;
    for (std::size_t i = 0; i < sizeCount; ++i) {
        pieceSizes.push_back(std::size_t{data[1 + i]} + 1);
    }
    if (pieceSizes.empty()) {
        pieceSizes.push_back(mivo::LineCutter::Capacity);
    }
    std::string_view stream(reinterpret_cast<const char*>(data + 1 + sizeCount),
                            size - 1 - sizeCount);

    mivo::LineCutter cutter;
    cutter.reserve();
    std::size_t piece = 0;
    while (!stream.empty()) {
        const std::size_t before = cutter.size();
        const std::size_t room = cutter.makeRoom();
        check(cutter.size() + room == mivo::LineCutter::Capacity);
        check(room >= mivo::LineCutter::DropStep);
        check(cutter.size() == before || (before > mivo::LineCutter::DropAbove &&
                                          cutter.size() == before - mivo::LineCutter::DropStep));

        const std::size_t take = std::min({stream.size(), room, pieceSizes[piece]});
        piece = (piece + 1) % pieceSizes.size();
        cutter.append(stream.substr(0, take));
        stream.remove_prefix(take);
        check(cutter.size() <= mivo::LineCutter::Capacity);

        for (;;) {
            const std::size_t held = cutter.size();
            const auto line = cutter.cutLine();
            if (!line) {
                break;
            }
            const std::size_t consumed = held - cutter.size();
            // The line, whatever followed its first NUL, and a one- or
            // two-byte line end.
            check(consumed >= line->size() + 1);
            check(line->size() <= mivo::LineCutter::Capacity);
            check(line->data()[line->size()] == '\0');
            for (char c : *line) {
                check(c != '\r' && c != '\0');
            }
        }
    }
    return 0;
}
