#include "transport/Ipv4Text.h"

#include <array>
#include <cstdint>

namespace mivo {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDecimalDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

Ipv4Address inetAddr(std::string_view text) {
    std::array<std::uint64_t, 4> parts{};
    std::size_t count = 0;
    std::size_t at = 0;
    auto current = [&]() -> char { return at < text.size() ? text[at] : '\0'; };

    for (;;) {
        if (!isDecimalDigit(current())) {
            return InvalidIpv4Address;
        }
        std::uint64_t base = 10;
        if (current() == '0') {
            ++at;
            base = 8;
            if (current() == 'x' || current() == 'X') {
                ++at;
                base = 16;
            }
        }
        std::uint64_t value = 0;
        for (;;) {
            const int digit = hexValue(current());
            if (digit < 0 || static_cast<std::uint64_t>(digit) >= base) {
                break;
            }
            value = value * base + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu) {
                return InvalidIpv4Address;
            }
            ++at;
        }
        // Octal parts stop at 8 and 9 above; a digit left over is an error.
        if (isDecimalDigit(current())) {
            return InvalidIpv4Address;
        }
        if (count == parts.size()) {
            return InvalidIpv4Address;
        }
        parts[count++] = value;
        if (current() != '.') {
            break;
        }
        if (count == parts.size() || value > 0xFF) {
            return InvalidIpv4Address;
        }
        ++at;
    }
    if (at < text.size() && !isBlank(text[at])) {
        return InvalidIpv4Address;
    }

    // Every part but the last is one byte; the last fills what is left.
    static constexpr std::array<std::uint64_t, 4> lastPartLimit{0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu,
                                                                0xFFu};
    if (parts[count - 1] > lastPartLimit[count - 1]) {
        return InvalidIpv4Address;
    }
    std::uint64_t address = 0;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        address |= parts[i] << (24 - 8 * i);
    }
    address |= parts[count - 1];
    return static_cast<Ipv4Address>(address);
}

std::string inetNtoa(Ipv4Address address) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (shift != 24) {
            text += '.';
        }
        text += std::to_string((address >> shift) & 0xFFu);
    }
    return text;
}

}  // namespace mivo
