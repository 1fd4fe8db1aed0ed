// Feeds arbitrary host texts to the POP host reader, checking what must hold
// for any of them: no crash, a refusal always says why, an accepted port is
// a port, a pin is 64 lower-case hex digits and only ever asks for TLS, and
// a text without scheme, brackets or pin is split as it always was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "transport/PopHost.h"
#include "transport/PopTarget.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool isLowerHex(std::string_view text) {
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const mivo::ParsedPopTarget parsed = mivo::parsePopTarget(text);
    if (!parsed.ok()) {
        return 0;
    }
    const mivo::PopTarget& target = parsed.target;
    check(target.port >= 1 && target.port <= 65535);
    if (!target.pinnedSha256.empty()) {
        check(target.pinnedSha256.size() == 64 && isLowerHex(target.pinnedSha256));
        check(target.security != mivo::PopSecurity::Plain);
    }
    const bool plainForm = text.find("#sha256=") == std::string_view::npos &&
                           text.find("://") == std::string_view::npos &&
                           (text.empty() || text.front() != '[');
    if (plainForm) {
        const mivo::PopHost split = mivo::splitPopHost(text);
        check(split.host == target.host && split.port == target.port);
        check((target.security == mivo::PopSecurity::Tls) == (split.port == 995));
    }
    return 0;
}
