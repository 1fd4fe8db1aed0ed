#pragma once
// The one-line summary of a new message: its sender and subject, taken from
// the header lines a TOP reply brought.

#include <string>
#include <string_view>

namespace mivo {

// "From<TAB>Subject" for the header lines (CR LF separated) of one message.
// The last From and the last Subject line win; a header's continuation lines
// are not joined, so only its first physical line counts.
std::string senderSubjectLine(std::string_view headerLines);

}  // namespace mivo
