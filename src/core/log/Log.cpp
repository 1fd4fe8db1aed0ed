#include "log/Log.h"

#include "text/MemoText.h"
#include "text/TimeText.h"

namespace mivo {

Log::Log(TextField& text, const bool& logViewerOpen, TextField& logCopy, const ClockPort& clock)
    : m_text(text), m_logViewerOpen(logViewerOpen), m_logCopy(logCopy), m_clock(clock) {
    m_text.onChange([this] { LogChange(); });
}

void Log::append(std::string_view line) {
    for (const auto& observer : m_appendObservers) {
        observer(line);
    }
    m_text.edit([line](std::string& text) { memo::addLine(text, line); });
}

void Log::onAppend(std::function<void(std::string_view)> observer) {
    m_appendObservers.push_back(std::move(observer));
}

void Log::LogChange() {
    const std::size_t length = m_text.get().size();
    if (length > kLimit) {
        // The notice has always said 1000 bytes although 902 characters are
        // kept; it stays as users know it.
        const std::string notice = "The Log was truncated on " + timeText(m_clock.now()) +
                                   ".\r\n it was " + std::to_string(length) +
                                   " bytes and it became 1000 bytes\r\n\r\n";
        const std::string kept = m_text.get().substr(length - kKeptTail);
        const std::string truncated = notice + kept;
        // Each of the two changes runs this handler again, nested. Both are
        // copied into the Log's own storage, which keeps its size for the
        // next 15000 characters instead of growing back to it.
        m_text.set(kept);
        m_text.set(truncated);
    }
    if (m_logViewerOpen) {
        m_logCopy.set(m_text.get());
    }
}

}  // namespace mivo
