#pragma once
// A caption as a window title shows it: a title bar has one line, so each
// run of CR and LF characters (a server's reply quoted in a caption) shows as
// one blank. The caption itself keeps its text.

#include <string>
#include <string_view>

namespace mivo {

std::string windowTitleText(std::string_view caption);

}  // namespace mivo
