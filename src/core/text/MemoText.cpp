#include "text/MemoText.h"

namespace mivo::memo {

namespace {
constexpr std::string_view kCrLf = "\r\n";

// Asked for every line added to a memo, so two characters are compared as
// characters rather than as a two-character string.
bool endsWithCrLf(std::string_view text) {
    const std::size_t size = text.size();
    return size >= 2 && text[size - 2] == '\r' && text[size - 1] == '\n';
}
}  // namespace

void addLine(std::string& text, std::string_view line) {
    if (text.empty() || endsWithCrLf(text)) {
        text.append(line).append(kCrLf);
    } else {
        text.append(kCrLf).append(line);
    }
}

void deleteLastLine(std::string& text) {
    // The last counted line starts after the last CR LF that is not the
    // closing one.
    const std::string_view view = text;
    const std::string_view body = endsWithCrLf(view) ? view.substr(0, view.size() - 2) : view;
    const std::size_t previousBreak = body.rfind(kCrLf);
    text.resize(previousBreak == std::string_view::npos ? 0 : previousBreak + 2);
}

int lineCount(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    int count = 1;
    for (std::size_t pos = text.find(kCrLf); pos != std::string_view::npos;
         pos = text.find(kCrLf, pos + 2)) {
        ++count;
    }
    return endsWithCrLf(text) ? count - 1 : count;
}

}  // namespace mivo::memo
