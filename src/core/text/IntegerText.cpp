#include "text/IntegerText.h"

#include <cstdint>
#include <limits>

namespace mivo {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 99;
}

enum class Base { Automatic, Decimal };

int readIntegerIn(std::string_view text, Base given) {
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (given == Base::Automatic && pos < text.size() && text[pos] == '0') {
        // "0x" only counts as a prefix when a hex digit follows; otherwise the
        // 0 alone is the number.
        if (pos + 2 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
            digitValue(text[pos + 2]) < 16) {
            base = 16;
            pos += 2;
        } else {
            base = 8;
        }
    }
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    constexpr std::int64_t kMin = -static_cast<std::int64_t>(std::numeric_limits<int>::min());
    const std::int64_t limit = negative ? kMin : kMax;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = digitValue(text[pos]);
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
        if (value > limit) {
            value = limit;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

int readInteger(std::string_view text) {
    return readIntegerIn(text, Base::Automatic);
}

int readDecimalInteger(std::string_view text) {
    return readIntegerIn(text, Base::Decimal);
}

}  // namespace mivo
