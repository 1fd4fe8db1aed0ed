#include "text/WindowTitle.h"

namespace mivo {

std::string windowTitleText(std::string_view caption) {
    std::string title;
    title.reserve(caption.size());
    bool inBreak = false;
    for (char c : caption) {
        const bool isBreak = c == '\r' || c == '\n';
        if (!isBreak) {
            title += c;
        } else if (!inBreak) {
            title += ' ';
        }
        inBreak = isBreak;
    }
    return title;
}

}  // namespace mivo
