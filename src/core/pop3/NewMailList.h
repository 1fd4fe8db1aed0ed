#pragma once
// This check's new-mail list in Memo4: one sender-subject line per new
// message. However many messages a server claims, the list keeps at most
// kMaxLines of them and counts the rest in one closing line.

#include <cstdint>
#include <string>
#include <string_view>

#include "fields/Field.h"

namespace mivo {

class NewMailList {
public:
    static constexpr int kMaxLines = 10000;

    explicit NewMailList(TextField& memo4) : m_memo(memo4) {}

    // A new conversation: nothing of this check is in Memo4 yet.
    void forget();
    // Empties Memo4 without starting the list.
    void clear();
    // The server told the count: the list starts, empty.
    void begin();
    // One more new message.
    void add(std::string_view line);
    // The whole list in one text, for a check that only counts.
    void replace(const std::string& text);
    // Adds the line for the messages past kMaxLines, once; call before the
    // list is handed on.
    void close();
    // Whether this check has gathered any new mail.
    bool holdsMail() const { return m_begun && !m_memo.get().empty(); }
    const std::string& text() const { return m_memo.get(); }

private:
    TextField& m_memo;
    bool m_begun = false;
    int m_listed = 0;
    std::int64_t m_unlisted = 0;
};

}  // namespace mivo
