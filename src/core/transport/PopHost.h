#pragma once
// The POP host text of an account: `host` or `host:port`.

#include <optional>
#include <string>
#include <string_view>

namespace mivo {

inline constexpr int DefaultPopPort = 110;

struct PopHost {
    std::string host;
    int port = DefaultPopPort;
};

// A port text of decimal digits only, 1 to 65535; anything else is nullopt.
std::optional<int> parsePortText(std::string_view text);

// False only when the text has a ':' whose suffix is not a valid port, which
// the console front end refuses rather than taking the whole text as a host.
bool hasValidPortSuffix(std::string_view text);

// Splits at the last ':' when what follows is a valid port and something
// precedes it; otherwise the whole text is the host, on the default port.
PopHost splitPopHost(std::string_view text);

// The host is taken as dotted IPv4 text, never looked up by name: it begins
// with a digit and is either digits and dots only or a valid address.
bool isNumericHost(std::string_view host);

}  // namespace mivo
