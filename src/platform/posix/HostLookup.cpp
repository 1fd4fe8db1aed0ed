#include "posix/HostLookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

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
        return {HostNotFound, std::nullopt};
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0) {
        return {windowsLookupError(result), std::nullopt};
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, &::freeaddrinfo);
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr &&
            entry->ai_addrlen >= sizeof(sockaddr_in)) {
            sockaddr_in address{};
            std::memcpy(&address, entry->ai_addr, sizeof address);
            return {0, ntohl(address.sin_addr.s_addr)};
        }
    }
    return {HostNotFound, std::nullopt};
}

}  // namespace mivo
