#pragma once
// Text from a server made safe for a terminal: every control character but
// tab is written as an escape (\r, \n, or \xHH), and a backslash as \\, so a
// server cannot drive the user's terminal and the escaping can be undone.

#include <string>
#include <string_view>

namespace mivo {

std::string terminalSafe(std::string_view text);

}  // namespace mivo
