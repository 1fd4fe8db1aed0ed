// Feeds arbitrary bytes, received in arbitrary pieces, to the line cutter and
// checks what must hold for any input: the buffer stays within its limit, no
// delivered line holds a CR, every length adds up, and a receive ending
// between a CR and its LF changes no line.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "transport/LineCutter.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

struct Received {
    std::vector<std::string> lines;
    std::vector<std::size_t> pieces;  // bytes each receive brought
    std::vector<std::size_t> rooms;   // room each receive had
};

// Plays `stream` through one cutter, receive by receive: the i-th receive
// brings pieceSize(i, room, bytes left) bytes.
template <typename PieceSize>
Received receive(std::string_view stream, PieceSize pieceSize) {
    Received received;
    mivo::LineCutter cutter;
    cutter.reserve();
    for (std::size_t index = 0; !stream.empty(); ++index) {
        const std::size_t before = cutter.size();
        const std::size_t room = cutter.makeRoom();
        check(cutter.size() + room == mivo::LineCutter::Capacity);
        check(room >= mivo::LineCutter::DropStep);
        check(cutter.size() == before || (before > mivo::LineCutter::DropAbove &&
                                          cutter.size() == before - mivo::LineCutter::DropStep));

        const std::size_t take = pieceSize(index, room, stream.size());
        check(take <= room && take <= stream.size());
        received.pieces.push_back(take);
        received.rooms.push_back(room);
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
            received.lines.emplace_back(*line);
        }
    }
    return received;
}

// The same receives, except that an LF which began a receive right after a CR
// that ended the previous one comes with that CR, where the room allows.
std::vector<std::size_t> joinSplitCrLf(std::string_view stream, const Received& received) {
    std::vector<std::size_t> pieces = received.pieces;
    std::size_t end = 0;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        end += received.pieces[i];
        if (end > 0 && stream[end - 1] == '\r' && stream[end] == '\n' &&
            pieces[i] < received.rooms[i] && pieces[i + 1] > 0) {
            ++pieces[i];
            --pieces[i + 1];
        }
    }
    return pieces;
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
    const std::string_view stream(reinterpret_cast<const char*>(data + 1 + sizeCount),
                                  size - 1 - sizeCount);

    const Received split =
        receive(stream, [&](std::size_t index, std::size_t room, std::size_t left) {
            return std::min({left, room, pieceSizes[index % pieceSizes.size()]});
        });
    const std::vector<std::size_t> joinedPieces = joinSplitCrLf(stream, split);
    const Received joined = receive(stream, [&](std::size_t index, std::size_t, std::size_t) {
        return joinedPieces.at(index);
    });
    check(joined.lines == split.lines);
    return 0;
}
