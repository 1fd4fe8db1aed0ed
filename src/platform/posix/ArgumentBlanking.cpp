#include "posix/ArgumentBlanking.h"

#include <cstring>

namespace mivo {

namespace {
constexpr int kOneOffAccountArguments = 3;
}  // namespace

void blankArgument(char* argument) {
    std::memset(argument, 'x', std::strlen(argument));
}

OneOffAccountArguments::OneOffAccountArguments(int argc, char** argv)
    : m_argv(argv), m_copies(argv, argv + argc), m_countForQt(argc) {
    m_forQt.reserve(m_copies.size() + 1);
    for (std::string& copy : m_copies) {
        m_forQt.push_back(copy.data());
    }
    m_forQt.push_back(nullptr);
    // The user name comes first, so the password is never the first
    // argument; with exactly three it is the second.
    const int arguments = argc - 1;
    if (arguments == kOneOffAccountArguments) {
        blank(2);
    } else if (arguments > kOneOffAccountArguments) {
        for (int index = 2; index < argc; ++index) {
            blank(index);
        }
    }
}

void OneOffAccountArguments::blank(int index) {
    blankArgument(m_argv[index]);
    m_blanked.push_back(index);
}

int OneOffAccountArguments::originalIndex(const char* copy) const {
    for (std::size_t index = 0; index < m_copies.size(); ++index) {
        if (m_copies[index].data() == copy) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

std::vector<std::string> OneOffAccountArguments::remaining() {
    std::vector<std::string> left;
    for (int index = 1; index < m_countForQt; ++index) {
        left.emplace_back(m_forQt[static_cast<std::size_t>(index)]);
    }
    const int password = left.size() == kOneOffAccountArguments ? originalIndex(m_forQt[2]) : -1;
    for (const int index : m_blanked) {
        if (index != password) {
            const std::string& copy = m_copies[static_cast<std::size_t>(index)];
            std::memcpy(m_argv[index], copy.data(), copy.size());
        }
    }
    m_blanked.clear();
    return left;
}

}  // namespace mivo
