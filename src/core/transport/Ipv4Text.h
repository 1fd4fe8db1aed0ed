#pragma once
// Dotted IPv4 text to an address and back, as the classic socket calls
// inet_addr and inet_ntoa do it, without any operating-system header.

#include <string>
#include <string_view>

#include "ports/SocketPort.h"

namespace mivo {

inline constexpr Ipv4Address InvalidIpv4Address = 0xFFFFFFFFu;

// Accepts a.b.c.d and the shorter a.b.c, a.b and a forms (the last part fills
// the remaining bytes), each part decimal, octal (leading 0) or hexadecimal
// (leading 0x); anything after a blank is ignored. Invalid text gives
// InvalidIpv4Address.
Ipv4Address inetAddr(std::string_view text);

std::string inetNtoa(Ipv4Address address);

}  // namespace mivo
