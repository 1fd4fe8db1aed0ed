#include "pop3/NewMailList.h"

#include "text/MemoText.h"

namespace mivo {

void NewMailList::forget() {
    m_begun = false;
    m_listed = 0;
    m_unlisted = 0;
}

void NewMailList::clear() {
    m_memo.set("");
}

void NewMailList::begin() {
    forget();
    m_begun = true;
    m_memo.set("");
}

void NewMailList::add(std::string_view line) {
    if (m_listed >= kMaxLines) {
        ++m_unlisted;
        return;
    }
    ++m_listed;
    m_memo.edit([line](std::string& text) { memo::addLine(text, line); });
}

void NewMailList::replace(const std::string& text) {
    m_memo.set(text);
}

void NewMailList::close() {
    if (m_unlisted == 0) {
        return;
    }
    const std::string line = "... and " + std::to_string(m_unlisted) + " more new messages";
    m_unlisted = 0;
    m_memo.edit([&line](std::string& text) { memo::addLine(text, line); });
}

}  // namespace mivo
