#include "transport/PopTarget.h"

#include <algorithm>
#include <cctype>

#include "transport/PopHost.h"

namespace mivo {

namespace {

constexpr std::string_view kPop3sScheme = "pop3s://";
constexpr std::string_view kStlsScheme = "stls://";
constexpr std::string_view kPinMark = "#sha256=";
constexpr std::size_t kFingerprintDigits = 64;

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The fingerprint as `openssl x509 -fingerprint -sha256` prints it, or bare;
// colons may separate any digits, and either case is taken.
std::string readFingerprint(std::string_view text, std::string& error) {
    std::string digits;
    for (char c : text) {
        if (c == ':') {
            continue;
        }
        if (!isHexDigit(c)) {
            error = "the certificate pin after #sha256= may hold only hex digits and colons";
            return {};
        }
        digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (digits.size() != kFingerprintDigits) {
        error = "the certificate pin after #sha256= needs 64 hex digits, not " +
                std::to_string(digits.size());
        return {};
    }
    return digits;
}

// What may stand between the brackets: IPv6 text with an optional embedded
// IPv4 tail and zone; the resolver itself tells a valid address.
bool isIpv6Text(std::string_view text) {
    if (text.empty() || text.find(':') == std::string_view::npos) {
        return false;
    }
    const std::size_t zone = text.find('%');
    const std::string_view address = text.substr(0, zone);
    if (!std::all_of(address.begin(), address.end(),
                     [](char c) { return isHexDigit(c) || c == ':' || c == '.'; })) {
        return false;
    }
    if (zone == std::string_view::npos) {
        return true;
    }
    const std::string_view zoneName = text.substr(zone + 1);
    return !zoneName.empty() && std::all_of(zoneName.begin(), zoneName.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-' || c == '.';
    });
}

// `[v6addr]` or `[v6addr]:port`.
bool readBracketed(std::string_view text, PopTarget& target, std::string& error) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos || !isIpv6Text(text.substr(1, close - 1))) {
        error = "an address in brackets must be an IPv6 address, as in [2001:db8::1]:995";
        return false;
    }
    target.host = std::string(text.substr(1, close - 1));
    const std::string_view rest = text.substr(close + 1);
    if (rest.empty()) {
        return true;
    }
    const auto port = rest.front() == ':' ? parsePortText(rest.substr(1)) : std::nullopt;
    if (!port) {
        error = "after ] only :port may follow, a number from 1 to 65535";
        return false;
    }
    target.port = *port;
    return true;
}

// `host` or `host:port` after a scheme: here a bad port is an error rather
// than part of the name.
bool readSchemeAuthority(std::string_view text, PopTarget& target, std::string& error) {
    const std::size_t colon = text.rfind(':');
    std::string_view host = text;
    if (colon != std::string_view::npos) {
        const auto port = parsePortText(text.substr(colon + 1));
        if (!port) {
            error = "the port after the host must be a number from 1 to 65535";
            return false;
        }
        target.port = *port;
        host = text.substr(0, colon);
    }
    if (host.empty() || host.find_first_of("/?@[]") != std::string_view::npos) {
        error = "a host name or address must follow the scheme";
        return false;
    }
    target.host = std::string(host);
    return true;
}

}  // namespace

ParsedPopTarget parsePopTarget(std::string_view text) {
    ParsedPopTarget parsed;
    PopTarget& target = parsed.target;
    std::string& error = parsed.error;

    const std::size_t pinAt = text.find(kPinMark);
    std::string_view place = text.substr(0, pinAt);
    if (pinAt != std::string_view::npos) {
        target.pinnedSha256 = readFingerprint(text.substr(pinAt + kPinMark.size()), error);
        if (!error.empty()) {
            return parsed;
        }
    }

    bool schemeGiven = true;
    if (startsWithIgnoringCase(place, kPop3sScheme)) {
        target.security = PopSecurity::Tls;
        target.port = DefaultPop3sPort;
        place.remove_prefix(kPop3sScheme.size());
    } else if (startsWithIgnoringCase(place, kStlsScheme)) {
        target.security = PopSecurity::StartTls;
        place.remove_prefix(kStlsScheme.size());
    } else {
        schemeGiven = false;
    }

    if (!place.empty() && place.front() == '[') {
        if (!readBracketed(place, target, error)) {
            return parsed;
        }
    } else if (schemeGiven) {
        if (!readSchemeAuthority(place, target, error)) {
            return parsed;
        }
    } else {
        const PopHost split = splitPopHost(place);
        target.host = split.host;
        target.port = split.port;
    }

    if (!schemeGiven && target.port == DefaultPop3sPort) {
        target.security = PopSecurity::Tls;
    }
    if (!target.pinnedSha256.empty() && target.security == PopSecurity::Plain) {
        error = "a certificate pin needs TLS: write pop3s://, stls:// or port 995";
    }
    return parsed;
}

}  // namespace mivo
