#pragma once
// Reading the sender and the subject out of single header lines, taken as
// they are: no unfolding, no decoding, no trimming.

#include <cstddef>
#include <string>
#include <string_view>

namespace mivo {

// A From or Subject field holds at most this many characters; longer values
// are cut so that a summary line stays a line a person can read.
constexpr std::size_t kHeaderFieldLimit = 103;

// For a line that begins with "From": what follows "From: ", else what
// follows "From " or "From:", else what follows "From".
std::string ExtractFrom(std::string_view line);
// The same for a line that begins with "Subject".
std::string ExtractSubject(std::string_view line);

bool startsWith(std::string_view text, std::string_view prefix);

}  // namespace mivo
