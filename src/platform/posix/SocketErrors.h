#pragma once
// errno values of socket calls as the Windows socket error codes of the same
// meaning, so that every error text the program shows stays the same.

namespace mivo {

// 0 for 0; an errno with no Windows counterpart is passed through unchanged
// (it then reads as an unknown code).
int windowsSocketError(int errnoValue);

// getaddrinfo's EAI_* results as the Windows host lookup codes.
int windowsLookupError(int lookupResult);

}  // namespace mivo
