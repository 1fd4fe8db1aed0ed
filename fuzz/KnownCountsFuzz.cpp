// Feeds arbitrary bytes to the --state text reader, and builds counts from
// them for the writer, checking what must hold for any input: no crash, a
// text that reads is written back to the same counts, and whatever is
// written reads back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "state/KnownCounts.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkRoundTrip(const mivo::KnownCounts& counts) {
    mivo::KnownCounts read;
    check(!mivo::parseKnownCounts(mivo::formatKnownCounts(counts), read));
    check(read == counts);
}

// The input cut at NUL bytes into user, host, user, host...; each account's
// count taken from its user's first byte.
mivo::KnownCounts countsFrom(std::string_view input) {
    mivo::KnownCounts counts;
    while (!input.empty()) {
        const std::size_t userEnd = input.find('\0');
        const std::string_view user = input.substr(0, userEnd);
        input = userEnd == std::string_view::npos ? std::string_view{} : input.substr(userEnd + 1);
        const std::size_t hostEnd = input.find('\0');
        const std::string_view host = input.substr(0, hostEnd);
        input = hostEnd == std::string_view::npos ? std::string_view{} : input.substr(hostEnd + 1);
        if (!user.empty() && !host.empty()) {
            counts[{std::string(user), std::string(host)}].count =
                static_cast<unsigned char>(user[0]);
        }
    }
    return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    mivo::KnownCounts read;
    if (!mivo::parseKnownCounts(input, read)) {
        checkRoundTrip(read);
    } else {
        check(read.empty());
    }
    checkRoundTrip(countsFrom(input));
    return 0;
}
