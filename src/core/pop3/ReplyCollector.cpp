#include "pop3/ReplyCollector.h"

#include "text/MemoText.h"

namespace mivo {

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool hasLineBreak(std::string_view line) {
    return contains(line, "\r") || contains(line, "\n");
}

}  // namespace

void ReplyCollector::startConnection() {
    m_packetBuffer.set("");
    m_finished = false;
}

void ReplyCollector::add(std::string_view line) {
    if (m_finished) {
        m_packetBuffer.set("");
    }
    // The line that ends a reply is always kept, so that a reply that ran
    // past the limit still completes.
    if (m_packetBuffer.get().size() < kLimit || line == ".") {
        m_packetBuffer.edit([line](std::string& text) { memo::addLine(text, line); });
    }
}

bool ReplyCollector::refused() const {
    const std::string& text = m_packetBuffer.get();
    return !text.empty() && text.front() == '-';
}

bool ReplyCollector::completes(Ending ending, std::string_view line) {
    switch (ending) {
        case Ending::StatusLine:
            return contains(line, "+OK") || hasLineBreak(line);
        case Ending::StatLine:
            return contains(line, "+OK") || contains(line, "\r\n");
        case Ending::LineBreak:
            return hasLineBreak(line);
        case Ending::FirstLine:
            return true;
        case Ending::DotLine:
            return line == ".";
        case Ending::Never:
            break;
    }
    return false;
}

}  // namespace mivo
