#pragma once
// Blocking resolution of a host name to its first IPv4 address; run off the
// program's thread.

#include <optional>
#include <string>

#include "ports/SocketPort.h"

namespace mivo {

struct HostLookupResult {
    int error = 0;  // the Windows host lookup code, 0 when found
    std::optional<Ipv4Address> address;
};

// A text that cannot be a host name (empty, over 255 characters, with a
// blank or a control character) fails here without asking any resolver.
bool isPlausibleHostName(const std::string& host);

HostLookupResult lookUpHost(const std::string& host);

}  // namespace mivo
