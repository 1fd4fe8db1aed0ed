#pragma once
// Passwords that mivo-check reads rather than takes as arguments, which any
// user could list: the first line of a file, or of standard input.

#include <optional>
#include <string>

namespace mivo {

// The first line of `path` ("-": standard input), without its line end.
// Returns the reason when it cannot be read.
std::optional<std::string> readPasswordFile(const std::string& path, std::string& password);

}  // namespace mivo
