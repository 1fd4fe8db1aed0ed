#pragma once
// The stored form of account passwords: lower-case letters that carry a
// checksum, so that an altered text is rejected. It hides a password from a
// casual look at the settings; it is not encryption, no key is involved.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ports/RandomPort.h"

namespace mivo {

// The longest password that can be stored: its scrambled form, behind the
// key and "=", keeps a settings line within 900 bytes.
inline constexpr std::size_t MaxPasswordLength = 439;

// Draws exactly ten bytes from `random`, so the same password gives a
// different text at every save. A password longer than MaxPasswordLength is
// refused with no result; the account dialog checks the length at entry.
std::optional<std::string> scramblePassword(std::string_view password, RandomPort& random);

// The password held by a stored text, or no result when the text is too
// short, of odd length or fails its checksum. The text ends at its first CR
// or LF; there is no other length limit.
std::optional<std::string> unscramblePassword(std::string_view stored);

// Old settings files stored each password character spread over three bytes;
// this gathers it back from an unscrambled text. An incomplete last group
// of three is dropped.
std::string undoThreeByteSpreading(std::string_view unscrambled);

}  // namespace mivo
