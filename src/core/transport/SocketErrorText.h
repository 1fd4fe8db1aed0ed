#pragma once
// The texts shown for socket error codes, worded as the Windows socket
// library's documentation words them.

#include <string>

namespace mivo {

// The text for `code`, beginning with "() " and ending with a newline.
std::string socketErrorText(int code);

}  // namespace mivo
