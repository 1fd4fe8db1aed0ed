#pragma once
// The unique ids a POP3 server gives its messages (its UIDL listing): what
// the program remembers of a mailbox whose server lists them, so that a
// message is new exactly when its id has not been seen.

#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace mivo {

using MessageIds = std::set<std::string, std::less<>>;

// The longest id a server may give (1 to 70 characters).
constexpr std::size_t kLongestMessageId = 70;

// Whether `text` can be a message id: 1 to 70 printable characters, no
// blank, no control and no byte past ASCII.
bool isMessageId(std::string_view text);

}  // namespace mivo
