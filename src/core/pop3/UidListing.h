#pragma once
// The server's UIDL listing of the mailbox, taken line by line as it
// arrives: message n's unique id for every message STAT counted. Memory
// stays that of the ids themselves, at most 70 bytes each and no more of
// them than STAT counted (and kMostMessages); a listing that breaks the
// rules is only read to its end and then not used.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mivo {

class UidListing {
public:
    // A mailbox with more messages is checked by count: its listing would
    // cost more memory than a check may take.
    static constexpr int kMostMessages = 200000;

    // A listing of the `onServer` messages STAT counted begins.
    void begin(int onServer);
    // One line of the listing, "NUMBER ID", the final "." line left out.
    void add(std::string_view line);
    // The listing has ended: whether it named messages 1 to `onServer` in
    // order, each with its own id. Only then does id() answer.
    bool usable();
    int size() const { return static_cast<int>(m_ends.size()); }
    // The id of message `number`, 1 to size().
    std::string_view id(int number) const;
    // Gives back the listing's memory.
    void clear();

private:
    void fail();

    int m_expected = 0;
    bool m_faulty = false;
    std::string m_ids;                // every id, one after another
    std::vector<std::size_t> m_ends;  // where message n's id ends in m_ids
};

}  // namespace mivo
