#include "ConsoleUi.h"

#include <QCoreApplication>
#include <cstdio>

#include "console/TerminalText.h"

namespace mivo {

void ConsoleUi::setApplicationTitle(const std::string& title) {
    // One caption per line, and nothing in it a terminal would act on.
    m_captions.append("caption: ").append(terminalSafe(title)).push_back('\n');
}

void ConsoleUi::flushCaptions() {
    if (!m_captions.empty()) {
        std::fwrite(m_captions.data(), 1, m_captions.size(), stderr);
        m_captions.clear();
    }
}

void ConsoleUi::showMessageBox(const std::string& title, const std::string& text) {
    flushCaptions();
    const std::string line = "message: " + terminalSafe(title) + ": " + terminalSafe(text) + '\n';
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
