#include "pop3/NewMessages.h"

namespace mivo {

void NewMessages::after(int known, int onServer) {
    m_listed = false;
    m_numbers.clear();
    m_taken = 0;
    m_next = std::int64_t{known} + 1;
    m_last = onServer;
}

void NewMessages::notIn(const UidListing& listing, const MessageIds& seen) {
    m_listed = true;
    m_numbers.clear();
    m_taken = 0;
    m_last = listing.size();
    for (int number = 1; number <= listing.size(); ++number) {
        if (!seen.contains(listing.id(number))) {
            m_numbers.push_back(number);
        }
    }
}

int NewMessages::count() const {
    if (m_listed) {
        return static_cast<int>(m_numbers.size());
    }
    return m_next > m_last ? 0 : static_cast<int>(m_last - m_next + 1);
}

std::int64_t NewMessages::upcoming() const {
    if (!m_listed) {
        return m_next;
    }
    return m_taken < m_numbers.size() ? m_numbers[m_taken] : m_last + 1;
}

std::int64_t NewMessages::take() {
    const std::int64_t number = upcoming();
    if (m_listed) {
        m_taken += 1;
    } else {
        m_next += 1;
    }
    return number;
}

}  // namespace mivo
