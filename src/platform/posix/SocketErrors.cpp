#include "posix/SocketErrors.h"

#include <netdb.h>

#include <cerrno>

namespace mivo {

int windowsSocketError(int errnoValue) {
    switch (errnoValue) {
        case 0:
            return 0;
        case EINTR:
            return 10004;
        case EACCES:
            return 10013;
        case EFAULT:
            return 10014;
        case EINVAL:
            return 10022;
        case EMFILE:
        case ENFILE:
            return 10024;
        case EWOULDBLOCK:
            return 10035;
        case EINPROGRESS:
            return 10036;
        case EALREADY:
            return 10037;
        case EBADF:
        case ENOTSOCK:
            return 10038;
        case EDESTADDRREQ:
            return 10039;
        case EMSGSIZE:
            return 10040;
        case EOPNOTSUPP:
            return 10045;
        case EADDRINUSE:
            return 10048;
        case EADDRNOTAVAIL:
            return 10049;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return 10051;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return 10053;
        case ECONNRESET:
        case EPIPE:  // the peer reset the connection earlier
            return 10054;
        case ENOBUFS:
        case ENOMEM:
            return 10055;
        case EISCONN:
            return 10056;
        case ENOTCONN:
            return 10057;
        case ESHUTDOWN:
            return 10058;
        case ETOOMANYREFS:
            return 10059;
        case ETIMEDOUT:
            return 10060;
        case ECONNREFUSED:
            return 10061;
        case ENAMETOOLONG:
            return 10063;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return 10065;
        case ENOTEMPTY:
            return 10066;
        default:
            return errnoValue;
    }
}

int windowsLookupError(int lookupResult) {
    switch (lookupResult) {
        case 0:
            return 0;
        case EAI_AGAIN:
            return 11002;  // try again
        case EAI_FAIL:
            return 11003;  // no recovery
        default:
            return 11001;  // host not found
    }
}

}  // namespace mivo
