#pragma once
// The texts that open the maker's web site in the user's browser: the
// browser's program cut out of its open command and put in quotes, the
// command line with it, the same without quotes for a second try, and what
// the user is told when neither starts.

#include <cstddef>
#include <string>
#include <string_view>

namespace mivo {

inline constexpr std::string_view kWebSiteAddress = "http://www.mivo.example.org/";
inline constexpr std::string_view kBrowserFailureTitle = "Your browser is not working";

// Each of these texts once had a 700-byte buffer, its terminator included;
// they are cut to what that held, so a long browser command cannot grow them.
inline constexpr std::size_t kBrowserTextLimit = 699;
std::string limitedBrowserText(std::string text);

// The program part of an open command such as `"C:\Web\browse.exe" -new "%1"`,
// between quotes: a leading quote is skipped, and the copy stops at the end,
// a CR, an LF, a quote, the "%1" placeholder, or right after a ".exe" (any
// case) that follows at least one other character.
std::string quotedBrowserPath(std::string_view browserCommand);

// The quoted path, a blank and the web site's address.
std::string firstBrowserCommandLine(std::string_view quotedPath);
// The first command line's path without its quotes (up to the first quote,
// CR or LF after the opening one), a blank and the web site's address.
std::string secondBrowserCommandLine(std::string_view firstCommandLine);

// The message box's text, with a blank on each side of the command.
std::string browserFailureMessage(std::string_view secondCommandLine);

}  // namespace mivo
