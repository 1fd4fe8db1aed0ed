// Feeds arbitrary bytes to the password unscrambler as a stored text, and
// scrambles them as a password, checking what must hold for any input: no
// crash, a refused length is the only refusal, every scrambled text is well
// formed and unscrambles to its password.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "settings/PasswordScrambling.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The input's first bytes, over and over, as the random bytes.
class ReplayedRandom : public mivo::RandomPort {
public:
    explicit ReplayedRandom(std::string_view bytes) : m_bytes(bytes) {}
    std::uint8_t nextByte() override {
        if (m_bytes.empty()) {
            return 0;
        }
        const auto next = static_cast<std::uint8_t>(m_bytes[m_next % m_bytes.size()]);
        ++m_next;
        return next;
    }

private:
    std::string_view m_bytes;
    std::size_t m_next = 0;
};

void checkRoundTrip(std::string_view password, std::string_view randomBytes) {
    ReplayedRandom random(randomBytes);
    const std::optional<std::string> text = mivo::scramblePassword(password, random);
    if (password.size() > mivo::MaxPasswordLength) {
        check(!text);
        return;
    }
    check(text.has_value());
    check(text->size() == 2 * (password.size() + 10));
    for (char letter : *text) {
        check(letter >= 'a' && letter <= 'v');
    }
    const std::optional<std::string> back = mivo::unscramblePassword(*text);
    check(back.has_value() && *back == password);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view randomBytes = input.substr(0, 10);

    const std::optional<std::string> password = mivo::unscramblePassword(input);
    if (password) {
        const std::size_t lineEnd = input.find_first_of("\r\n");
        const std::size_t letters = lineEnd == std::string_view::npos ? size : lineEnd;
        check(letters % 2 == 0 && letters >= 20);
        check(password->size() == letters / 2 - 10);
        check(mivo::undoThreeByteSpreading(*password).size() == password->size() / 3);
        checkRoundTrip(*password, randomBytes);
    }
    checkRoundTrip(input, randomBytes);
    return 0;
}
