#pragma once
// Blocking resolution of a host name (or IPv6 text) to its IPv4 and IPv6
// addresses in the resolver's order; run off the program's thread.

#include <string>
#include <vector>

#include "ports/SocketPort.h"

namespace mivo {

struct HostLookupResult {
    int error = 0;                     // the Windows host lookup code, 0 when found
    std::vector<IpAddress> addresses;  // best first, no repeats
};

// A text that cannot be a host name (empty, over 255 characters, with a
// blank or a control character) fails here without asking any resolver.
bool isPlausibleHostName(const std::string& host);

HostLookupResult lookUpHost(const std::string& host);

}  // namespace mivo
