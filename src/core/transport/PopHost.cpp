#include "transport/PopHost.h"

#include "transport/Ipv4Text.h"

namespace mivo {

std::optional<int> parsePortText(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > 65535) {
            return std::nullopt;
        }
    }
    if (value < 1) {
        return std::nullopt;
    }
    return value;
}

bool hasValidPortSuffix(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos || parsePortText(text.substr(colon + 1)).has_value();
}

PopHost splitPopHost(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos && colon > 0) {
        if (auto port = parsePortText(text.substr(colon + 1))) {
            return PopHost{std::string(text.substr(0, colon)), *port};
        }
    }
    return PopHost{std::string(text), DefaultPopPort};
}

bool isNumericHost(std::string_view host) {
    if (host.empty() || host.front() < '0' || host.front() > '9') {
        return false;
    }
    // Digits and dots alone are meant as an address even when they make no
    // valid one; a name such as 163mail.example is looked up.
    const bool digitsAndDots = host.find_first_not_of("0123456789.") == std::string_view::npos;
    return digitsAndDots || inetAddr(host) != InvalidIpv4Address;
}

}  // namespace mivo
