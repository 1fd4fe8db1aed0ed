#include "console/TerminalText.h"

namespace mivo {

std::string terminalSafe(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            safe += "\\\\";
        } else if (c == '\r') {
            safe += "\\r";
        } else if (c == '\n') {
            safe += "\\n";
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            safe += "\\x";
            safe += kHexDigits[byte >> 4];
            safe += kHexDigits[byte & 0xf];
        } else {
            safe += c;
        }
    }
    return safe;
}

}  // namespace mivo
