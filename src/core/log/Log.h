#pragma once
// The running Log every part of the program writes to: the main window's
// hidden Log memo, truncated once it grows past 15000 characters and mirrored
// into the log viewer while that is open.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fields/Field.h"
#include "ports/ClockPort.h"

namespace mivo {

class Log {
public:
    static constexpr std::size_t kLimit = 15000;
    static constexpr std::size_t kKeptTail = 902;

    // `logViewerOpen` and `logCopy` belong to the main window and the log
    // viewer; the Log reads the flag on every change.
    Log(TextField& text, const bool& logViewerOpen, TextField& logCopy, const ClockPort& clock);

    // Adds `line` after the last line; a text with CR LF becomes several
    // lines. The change handler runs before this returns.
    void append(std::string_view line);

    // Puts `text` in place of the whole Log; the change handler runs as for
    // an append, so an open log viewer shows it too.
    void replace(std::string text) { m_text.set(std::move(text)); }

    const std::string& text() const { return m_text.get(); }

    // Observers of every appended text (the console front end prints them).
    void onAppend(std::function<void(std::string_view)> observer);

private:
    void LogChange();

    TextField& m_text;
    const bool& m_logViewerOpen;
    TextField& m_logCopy;
    const ClockPort& m_clock;
    std::vector<std::function<void(std::string_view)>> m_appendObservers;
};

}  // namespace mivo
