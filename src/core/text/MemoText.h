#pragma once
// Line operations on a memo's text, with the semantics of a multi-line edit
// control: lines are separated by CR LF, and a text that ends in CR LF has no
// further (empty) line after it. They work in place so that a memo that grows
// line by line costs no more per line as it gets longer.

#include <string>
#include <string_view>

namespace mivo::memo {

// Adds `line` after the last line. An empty text or one that ends in CR LF
// gets `line` + CR LF; any other text gets CR LF + `line`.
void addLine(std::string& text, std::string_view line);

// Removes the last line (the last one counted, not the empty rest after a
// closing CR LF) and the line end after it; the break before it stays.
void deleteLastLine(std::string& text);

// Counts lines the way the edit control reports them: "" has none, "a" and
// "a\r\n" have one, "a\r\nb" two.
int lineCount(std::string_view text);

// Calls `visit` with each line of `text`, first to last, the lines counted
// as lineCount counts them.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        visit(text.substr(start, end - start));
        start = end + 2;
    }
}

}  // namespace mivo::memo
