#pragma once
// An account's number in parentheses, as captions, Log lines and account
// errors begin: "(2)".

#include <string>

namespace mivo {

// Built by appending, never by putting "(" in front of a temporary string:
// GCC 12 at -O2 and above reports that insertion (`"(" + std::to_string(n)`)
// as a -Wrestrict overlap it cannot have.
inline std::string accountTag(int account) {
    std::string tag = "(";
    tag += std::to_string(account);
    tag += ')';
    return tag;
}

}  // namespace mivo
