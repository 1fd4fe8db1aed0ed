#pragma once
// Reads a signed whole number the way typed numbers have always been read
// here: automatic base (0x hex, leading 0 octal, else decimal), stopping at
// the first character that does not fit.

#include <string_view>

namespace mivo {

// Leading white space and one sign are accepted; a text without digits gives
// 0. Values beyond the 32-bit range saturate at its ends.
int readInteger(std::string_view text);

// The same, always in decimal: a leading 0 or "0x" is just a zero.
int readDecimalInteger(std::string_view text);

}  // namespace mivo
