#include "transport/SocketErrorText.h"

#include <array>
#include <string_view>

namespace mivo {
namespace {

struct ErrorRow {
    int code;
    std::string_view format;
};

// Searched in this order; the first row with the code wins.
constexpr std::array<ErrorRow, 28> ErrorTable{{
    {10004, "(%s) The (blocking) call was canceled via WSACancelBlockingCall.\n"},
    {10013,
     "(%s) The requested address is a broadcast address, but the appropriate flag was not "
     "set.\n"},
    {10014, "(%s) The buf argument is not in a valid part of the user address space.\n"},
    {10022, "(%s) The socket has not been bound with bind.\n"},
    {10035, "(%s) The socket is marked as non-blocking and the requested operation would block.\n"},
    {10036, "(%s) A blocking Windows Sockets operation is in progress.\n"},
    {10038, "(%s) The descriptor is not a socket.\n"},
    {10039, "(%s) DestAddrReq\n"},
    {10040,
     "(%s) The socket is of type SOCK_DGRAM, and the datagram is larger than the maximum "
     "supported by the Windows Sockets implementation.\n"},
    {10045, "(%s) MSG_OOB was specified, but the socket is not of type SOCK_STREAM.\n"},
    {10048, "(%s) Address in use\n"},
    {10049, "(%s) Address not avail\n"},
    {10050,
     "(%s) The Windows Sockets implementation has detected that the network subsystem has "
     "failed.\n"},
    {10051, "(%s) Network Unreachable\n"},
    {10052,
     "(%s) The connection must be reset because the Windows Sockets implementation dropped "
     "it.\n"},
    {10053, "(%s) The virtual circuit was aborted due to timeout or other failure.\n"},
    {10054, "(%s) The virtual circuit was reset by the remote side.\n"},
    {10055, "(%s) The Windows Sockets implementation reports a buffer deadlock.\n"},
    {10057, "(%s) The socket is not connected.\n"},
    {10058,
     "(%s) The socket has been shutdown; it is not possible to sendln on a socket after "
     "shutdown has been invoked with how set to 1 or 2.\n"},
    {10059, "(%s) Too many refs.\n"},
    {10060, "(%s) Timedout\n"},
    {10061, "(%s) Connection Refused\n"},
    {10063, "(%s) Name too long\n"},
    {10064, "(%s) Host down\n"},
    {10065, "(%s) Host Unreachable\n"},
    {10066, "(%s) Not Empty\n"},
    {10093, "(%s) A successful WSAStartup must occur before using this API.\n"},
}};

// The "%s" of every text is filled with an empty string.
std::string withoutPlaceholder(std::string_view format) {
    std::string text(format);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) {
        text.erase(at, 2);
    }
    return text;
}

}  // namespace

std::string socketErrorText(int code) {
    for (const ErrorRow& row : ErrorTable) {
        if (row.code == code) {
            return withoutPlaceholder(row.format);
        }
    }
    return "() Socket Unkown error code " + std::to_string(code) + " \n";
}

}  // namespace mivo
