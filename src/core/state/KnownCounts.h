#pragma once
// The messages of each account already seen, kept from one run to the next
// (the desktop program's state file, mivo-check's --state file), so that a
// run announces only the mail that arrived since the last one.
//
// The text: the line "mivo-check state 2", which names the format and its
// version, then one line per account, USER TAB HOST TAB COUNT, or
// USER TAB HOST TAB COUNT TAB IDS for a mailbox whose server lists message
// ids, each line ending in LF. In USER and HOST a backslash, tab, LF and CR
// are written \\, \t, \n and \r. COUNT is the number of messages seen, in
// decimal; IDS the ids of the messages seen that were still on the server,
// separated by single blanks (none for a mailbox found empty). An empty text
// holds no account. Version 1, written before ids were kept, is read too:
// the same lines without IDS.

#include <compare>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "model/MessageIds.h"

namespace mivo {

// An account is known by its user name and POP host (as written, ":PORT"
// included), never by its place in the settings, which the user may change.
struct AccountKey {
    std::string user;
    std::string host;

    auto operator<=>(const AccountKey&) const = default;
};

// What is known of one mailbox: messages 1 to `count` were seen, or, where
// the server lists ids, exactly the messages whose ids are in `ids`.
struct SeenMessages {
    int count = 0;
    std::optional<MessageIds> ids;

    bool operator==(const SeenMessages&) const = default;
};

using KnownCounts = std::map<AccountKey, SeenMessages>;

struct KnownCountsError {
    std::string message;  // names the line at fault
};

// Reads a state text; on an error `result` is left empty. Anything the
// format does not allow is an error, so that a file some other program wrote
// is refused rather than overwritten.
std::optional<KnownCountsError> parseKnownCounts(std::string_view text, KnownCounts& result);

// The state text of `counts`. Accounts with an empty user name or host and
// negative counts are left out: no check can have counted them.
std::string formatKnownCounts(const KnownCounts& counts);

}  // namespace mivo
