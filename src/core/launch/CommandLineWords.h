#pragma once
// A command line cut into the arguments a program receives: blanks (spaces
// and tabs) separate arguments, double quotes keep blanks inside one, and the
// quotes themselves are not part of it. Runs of blanks count as one, so a
// line that begins or ends with blanks gives no empty arguments; an empty
// pair of quotes does give one.

#include <string>
#include <string_view>
#include <vector>

namespace mivo {

// An unterminated quote holds to the end of the line.
std::vector<std::string> commandLineWords(std::string_view commandLine);

}  // namespace mivo
