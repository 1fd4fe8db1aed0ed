#include "ConsoleUi.h"

#include <QCoreApplication>
#include <cstdio>

namespace mivo {

void ConsoleUi::setApplicationTitle(const std::string& title) {
    // One caption per line: line breaks inside it (a server's error reply)
    // are written escaped.
    std::string line = "caption: ";
    for (char c : title) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

bool ConsoleUi::isWindowVisible(WindowId window) const {
    const auto found = m_visible.find(window);
    return found != m_visible.end() && found->second;
}

void ConsoleUi::terminateApplication() {
    QCoreApplication::exit(0);
}

}  // namespace mivo
