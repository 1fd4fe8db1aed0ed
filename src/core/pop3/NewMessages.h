#pragma once
// The messages a check summarises, by their numbers on the server, oldest
// first, and how far the check has got through them. By count they are the
// ones after those seen; by id, those whose ids were not seen, wherever
// they stand in the mailbox.

#include <cstdint>
#include <vector>

#include "model/MessageIds.h"
#include "pop3/UidListing.h"

namespace mivo {

class NewMessages {
public:
    // Messages `known` + 1 to `onServer`.
    void after(int known, int onServer);
    // The messages of `listing` whose ids are not in `seen`.
    void notIn(const UidListing& listing, const MessageIds& seen);

    int count() const;
    bool remaining() const { return upcoming() <= m_last; }
    // The number of the next message to summarise; past the mailbox's last
    // message once none is left.
    std::int64_t upcoming() const;
    // The next message is being summarised: returns its number.
    std::int64_t take();

private:
    // By count the numbers are a range and none is held: a STAT count may
    // be any int.
    bool m_listed = false;
    std::int64_t m_next = 1;  // by count
    std::int64_t m_last = 0;  // the mailbox's last message
    std::vector<int> m_numbers;
    std::size_t m_taken = 0;
};

}  // namespace mivo
