#include "posix/HostLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "posix/SocketErrors.h"

namespace mivo {

namespace {
constexpr int HostNotFound = 11001;
}

bool isPlausibleHostName(const std::string& host) {
    if (host.empty() || host.size() > 255) {
        return false;
    }
    for (unsigned char c : host) {
        if (c <= 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

HostLookupResult lookUpHost(const std::string& host) {
    if (!isPlausibleHostName(host)) {
        return {HostNotFound, {}};
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0) {
        return {windowsLookupError(result), {}};
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, &::freeaddrinfo);
    HostLookupResult looked;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        IpAddress address;
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr &&
            entry->ai_addrlen >= sizeof(sockaddr_in)) {
            sockaddr_in ipv4{};
            std::memcpy(&ipv4, entry->ai_addr, sizeof ipv4);
            address.ipv4 = ntohl(ipv4.sin_addr.s_addr);
        } else if (entry->ai_family == AF_INET6 && entry->ai_addr != nullptr &&
                   entry->ai_addrlen >= sizeof(sockaddr_in6)) {
            sockaddr_in6 ipv6{};
            std::memcpy(&ipv6, entry->ai_addr, sizeof ipv6);
            address.isIpv6 = true;
            std::memcpy(address.ipv6.data(), &ipv6.sin6_addr, address.ipv6.size());
        } else {
            continue;
        }
        if (std::find(looked.addresses.begin(), looked.addresses.end(), address) ==
            looked.addresses.end()) {
            looked.addresses.push_back(address);
        }
    }
    if (looked.addresses.empty()) {
        looked.error = HostNotFound;
    }
    return looked;
}

}  // namespace mivo
