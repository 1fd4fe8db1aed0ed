#include "model/MessageIds.h"

#include <algorithm>

namespace mivo {

bool isMessageId(std::string_view text) {
    return !text.empty() && text.size() <= kLongestMessageId &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '!' && c <= '~'; });
}

}  // namespace mivo
