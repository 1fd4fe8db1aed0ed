#include "pop3/UidListing.h"

#include <algorithm>
#include <charconv>

#include "model/MessageIds.h"

namespace mivo {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

void UidListing::begin(int onServer) {
    clear();
    m_expected = std::max(0, onServer);
    m_faulty = m_expected > kMostMessages;
}

void UidListing::fail() {
    m_faulty = true;
    clear();
}

void UidListing::add(std::string_view line) {
    if (m_faulty) {
        return;
    }
    int number = 0;
    const char* end = line.data() + line.size();
    const auto [stop, error] = std::from_chars(line.data(), end, number);
    std::string_view rest = line.substr(static_cast<std::size_t>(stop - line.data()));
    // Servers are known to put more than one blank between the two, or
    // after the id; the id itself holds none.
    const std::size_t idStart = std::min(rest.size(), rest.find_first_not_of(" \t"));
    const bool separated = idStart > 0;
    rest.remove_prefix(idStart);
    while (!rest.empty() && isBlank(rest.back())) {
        rest.remove_suffix(1);
    }
    if (error != std::errc() || !separated || number != size() + 1 || number > m_expected ||
        !isMessageId(rest)) {
        fail();
        return;
    }
    m_ids += rest;
    m_ends.push_back(m_ids.size());
}

bool UidListing::usable() {
    if (m_faulty || size() != m_expected) {
        fail();
        return false;
    }
    std::vector<std::string_view> sorted;
    sorted.reserve(m_ends.size());
    for (int number = 1; number <= size(); ++number) {
        sorted.push_back(id(number));
    }
    std::sort(sorted.begin(), sorted.end());
    // Two messages with one id cannot be told apart: counting them is safer
    // than taking either for the other.
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        fail();
        return false;
    }
    return true;
}

std::string_view UidListing::id(int number) const {
    const auto index = static_cast<std::size_t>(number - 1);
    const std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_ids).substr(start, m_ends[index] - start);
}

void UidListing::clear() {
    m_ids = std::string();
    m_ends = std::vector<std::size_t>();
}

}  // namespace mivo
