#include "settings/PasswordScrambling.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mivo {

namespace {

constexpr std::size_t HeaderSize = 10;

// Each checksum byte is split over two header bytes by complementary masks;
// the other bits of those header bytes are random.
constexpr std::uint8_t LowMaskA = 0x39;
constexpr std::uint8_t LowMaskB = 0xC6;
constexpr std::uint8_t HighMaskA = 0x93;
constexpr std::uint8_t HighMaskB = 0x6C;

// The password bytes taken as signed 8-bit numbers, summed with 32-bit
// wrap-around so that even an endless hostile text cannot overflow.
std::uint32_t checksumOf(std::string_view bytes) {
    std::uint32_t sum = 0;
    for (char c : bytes) {
        sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    }
    return sum;
}

std::uint8_t byteOf(std::uint32_t value, int index) {
    return static_cast<std::uint8_t>(value >> (8 * index));
}

// The letters' offsets move with the position, so a repeated byte does not
// show as a repeated pair of letters.
int lowOffset(std::size_t j) {
    return static_cast<int>((2 * j) % 3 + (2 * j) % 5);
}

int highOffset(std::size_t j) {
    return static_cast<int>(j % 3 + (2 * j) % 4);
}

// One header byte: the checksum's bits under `sumMask`, random bits under its
// complement, and one bit forced on. The forced bits all lie in the random
// part, so they never touch the checksum.
std::uint8_t headerByte(std::uint8_t random, std::uint8_t sumByte, std::uint8_t sumMask,
                        std::uint8_t forcedBit) {
    return static_cast<std::uint8_t>((random & ~sumMask) | (sumByte & sumMask) | forcedBit);
}

}  // namespace

std::optional<std::string> scramblePassword(std::string_view password, RandomPort& random) {
    if (password.size() > MaxPasswordLength) {
        return std::nullopt;
    }
    std::array<std::uint8_t, HeaderSize> r{};
    for (std::uint8_t& value : r) {
        value = random.nextByte();
    }
    const std::uint32_t sum = checksumOf(password);
    const std::uint8_t s0 = byteOf(sum, 0);
    const std::uint8_t s1 = byteOf(sum, 1);
    const std::uint8_t s2 = byteOf(sum, 2);
    const std::uint8_t s3 = byteOf(sum, 3);

    std::vector<std::uint8_t> w;
    w.reserve(HeaderSize + password.size());
    w.push_back(headerByte(r[0], s0, LowMaskA, 0x40));
    w.push_back(headerByte(r[1], s0, LowMaskB, 0x20));
    w.push_back(r[2]);
    w.push_back(headerByte(r[3], s1, HighMaskA, 0x20));
    w.push_back(headerByte(r[4], s1, HighMaskB, 0x10));
    w.push_back(headerByte(r[5], s2, LowMaskA, 0x04));
    w.push_back(headerByte(r[6], s2, LowMaskB, 0x08));
    w.push_back(headerByte(r[7], s3, HighMaskA, 0x08));
    w.push_back(r[8]);
    w.push_back(headerByte(r[9], s3, HighMaskB, 0x02));
    for (char c : password) {
        w.push_back(static_cast<std::uint8_t>(c));
    }

    std::string letters;
    letters.reserve(2 * w.size());
    for (std::size_t j = 0; j < w.size(); ++j) {
        // The chain starts from the second byte, not the first; unchaining
        // gets the first byte back from the first two letter pairs.
        const std::uint8_t x = j == 0 ? w[1] : static_cast<std::uint8_t>(w[j - 1] ^ w[j]);
        letters.push_back(static_cast<char>('a' + (x & 0x0F) + lowOffset(j)));
        letters.push_back(static_cast<char>('a' + (x >> 4) + highOffset(j)));
    }
    return letters;
}

std::optional<std::string> unscramblePassword(std::string_view stored) {
    const std::size_t lineEnd = stored.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos) {
        stored = stored.substr(0, lineEnd);
    }
    if (stored.size() % 2 != 0 || stored.size() < 2 * HeaderSize) {
        return std::nullopt;
    }

    // Letters outside "a".."v" are not refused: they decode modulo 256 like
    // any other, and the checksum decides.
    std::vector<std::uint8_t> w(stored.size() / 2);
    for (std::size_t j = 0; j < w.size(); ++j) {
        const int lo = static_cast<unsigned char>(stored[2 * j]) - 'a' - lowOffset(j);
        const int hi = static_cast<unsigned char>(stored[2 * j + 1]) - 'a' - highOffset(j);
        w[j] = static_cast<std::uint8_t>(lo + 16 * hi);
    }
    // Unchained in place, front to back: each step reads its own chained
    // byte before overwriting it, and the one before it already unchained.
    w[0] = static_cast<std::uint8_t>(w[0] ^ w[1]);
    for (std::size_t k = 1; k < w.size(); ++k) {
        w[k] = static_cast<std::uint8_t>(w[k] ^ w[k - 1]);
    }

    // The random bits and H2, H8 play no part in the check.
    const std::uint32_t stored0 = (w[0] & LowMaskA) + (w[1] & LowMaskB);
    const std::uint32_t stored1 = (w[3] & HighMaskA) + (w[4] & HighMaskB);
    const std::uint32_t stored2 = (w[5] & LowMaskA) + (w[6] & LowMaskB);
    const std::uint32_t stored3 = (w[7] & HighMaskA) + (w[9] & HighMaskB);
    const std::uint32_t storedSum = stored0 + (stored1 << 8) + (stored2 << 16) + (stored3 << 24);

    std::string password;
    password.reserve(w.size() - HeaderSize);
    for (std::size_t k = HeaderSize; k < w.size(); ++k) {
        password.push_back(static_cast<char>(w[k]));
    }
    if (storedSum != checksumOf(password)) {
        return std::nullopt;
    }
    return password;
}

std::string undoThreeByteSpreading(std::string_view unscrambled) {
    std::string password;
    password.reserve(unscrambled.size() / 3);
    for (std::size_t i = 0; i + 3 <= unscrambled.size(); i += 3) {
        const auto first = static_cast<unsigned char>(unscrambled[i]);
        const auto third = static_cast<unsigned char>(unscrambled[i + 2]);
        password.push_back(static_cast<char>((first & 0xAA) | (third & 0x55)));
    }
    return password;
}

}  // namespace mivo
