#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "FakePorts.h"
#include "settings/PasswordScrambling.h"

namespace mivo {
namespace {

using test::FakeRandom;

// Bytes with NULs among them.
std::string operator""_b(const char* text, std::size_t size) {
    return std::string(text, size);
}

// "abc" scrambled with ten zero random bytes.
const std::string AbcWithZeros = "gckhlecegeffoagdkcfcfhgefa";

std::string scrambled(const std::string& password, std::vector<std::uint8_t> randomBytes = {}) {
    FakeRandom random;
    random.bytes = std::move(randomBytes);
    const std::optional<std::string> text = scramblePassword(password, random);
    EXPECT_TRUE(text.has_value());
    EXPECT_EQ(random.drawn, 10U);
    return text.value_or("");
}

// Two letters per byte, password and ten header bytes, all from "a" to "v".
void expectWellFormed(const std::string& text, std::size_t passwordLength) {
    EXPECT_EQ(text.size(), 2 * (passwordLength + 10));
    for (char letter : text) {
        EXPECT_TRUE(letter >= 'a' && letter <= 'v') << "letter " << letter << " in " << text;
    }
}

TEST(PasswordScrambling, AbcWithZeroRandomBytesGivesTheKnownText) {
    EXPECT_EQ(scrambled("abc"), AbcWithZeros);
    EXPECT_EQ(unscramblePassword(AbcWithZeros), "abc");
}

struct RoundTripCase {
    const char* name;
    std::string password;
    std::vector<std::uint8_t> randomBytes;
};

const std::vector<RoundTripCase> RoundTripCases = {
    {"Empty", "", {}},
    {"EmptyWithAllBitsRandom", "", std::vector<std::uint8_t>(10, 0xFF)},
    {"Letters", "secret", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    // A negative signed sum needs all four checksum bytes.
    {"AllAbove127",
     "\xFF\xFE\x80\xC4\xE9",
     {0x5A, 0xA5, 0x00, 0xFF, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}},
    {"OneByteMinusOne", "\xFF", {}},
    {"NulAndLineEndBytesInside", "a\0b\r\nc"_b, {}},
    // Its text is 898 letters: read whole, past any 800-character cut.
    {"LongestAllowed", std::string(MaxPasswordLength, 'z'), {}},
    {"LongestAllowedNegativeSum", std::string(MaxPasswordLength, '\x80'), {}},
};

class PasswordRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(PasswordRoundTrip, ScramblesToWellFormedLettersAndBack) {
    const RoundTripCase& c = GetParam();
    const std::string text = scrambled(c.password, c.randomBytes);
    expectWellFormed(text, c.password.size());
    EXPECT_EQ(unscramblePassword(text), c.password);
}

INSTANTIATE_TEST_SUITE_P(PasswordScrambling, PasswordRoundTrip, testing::ValuesIn(RoundTripCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PasswordScrambling, APasswordLongerThanTheLimitIsRefused) {
    FakeRandom random;
    EXPECT_FALSE(scramblePassword(std::string(MaxPasswordLength + 1, 'a'), random).has_value());
}

TEST(PasswordScrambling, TheSamePasswordGivesADifferentTextForOtherRandomBytes) {
    const std::string first = scrambled("abc");
    const std::string second = scrambled("abc", {0, 0, 0x77});  // only H2 differs
    const std::string third = scrambled("abc", std::vector<std::uint8_t>(10, 0xFF));
    EXPECT_NE(first, second);
    EXPECT_NE(first, third);
    EXPECT_NE(second, third);
    EXPECT_EQ(unscramblePassword(second), "abc");
    EXPECT_EQ(unscramblePassword(third), "abc");
}

TEST(PasswordScrambling, RaisingAnySingleLetterMakesTheCheckFail) {
    for (std::size_t i = 0; i < AbcWithZeros.size(); ++i) {
        std::string altered = AbcWithZeros;
        ++altered[i];
        EXPECT_EQ(unscramblePassword(altered), std::nullopt) << "letter " << i << ": " << altered;
    }
}

struct StoredTextCase {
    const char* name;
    std::string stored;
    std::optional<std::string> password;
};

const std::vector<StoredTextCase> StoredTextCases = {
    {"LastLetterMissing", AbcWithZeros.substr(0, AbcWithZeros.size() - 1), std::nullopt},
    {"OneLetterTooMany", AbcWithZeros + "a", std::nullopt},
    {"Nothing", "", std::nullopt},
    {"EighteenLetters", AbcWithZeros.substr(0, 18), std::nullopt},
    {"NineteenLetters", AbcWithZeros.substr(0, 19), std::nullopt},
    // The text ends at its first CR or LF.
    {"FollowedByCrLf", AbcWithZeros + "\r\nPASS2=x", "abc"},
    {"FollowedByLf", AbcWithZeros + "\nqq", "abc"},
    {"FollowedByCr", AbcWithZeros + "\r", "abc"},
    {"CutShortByALineEnd", AbcWithZeros.substr(0, 16) + "\r\n" + AbcWithZeros.substr(16),
     std::nullopt},
    // Letters decode modulo 256 and are not range-checked: 16 more on the
    // low letter and one less on the high letter is the same byte.
    {"LettersBeyondTheRangeDecodeTheSame", "wb" + AbcWithZeros.substr(2), "abc"},
};

class StoredText : public testing::TestWithParam<StoredTextCase> {};

TEST_P(StoredText, UnscramblesToItsPasswordOrFails) {
    EXPECT_EQ(unscramblePassword(GetParam().stored), GetParam().password);
}

INSTANTIATE_TEST_SUITE_P(PasswordScrambling, StoredText, testing::ValuesIn(StoredTextCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct SpreadingCase {
    const char* name;
    std::string unscrambled;
    std::string password;
};

const std::vector<SpreadingCase> SpreadingCases = {
    {"Nothing", "", ""},
    {"IncompleteGroupDropped", "ab", ""},
    {"FirstGivesEvenBitsThirdOddBits", "\xFF\x00\xFF"_b, "\xFF"},
    {"MiddleByteIgnored", "\xAA\xFF\x55", "\xFF"},
    {"OtherBitsIgnored", "\x55\xFF\xAA", "\0"_b},
    {"TwoGroupsAndARest",
     "\xAA\x00\x41\x60\x00\x01"
     "ab"_b,
     "\xEB\x21"},
};

class ThreeByteSpreading : public testing::TestWithParam<SpreadingCase> {};

TEST_P(ThreeByteSpreading, GathersOneCharacterFromEachGroup) {
    EXPECT_EQ(undoThreeByteSpreading(GetParam().unscrambled), GetParam().password);
}

INSTANTIATE_TEST_SUITE_P(PasswordScrambling, ThreeByteSpreading, testing::ValuesIn(SpreadingCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PasswordScrambling, ManyPasswordsRoundTrip) {
    std::mt19937 generator(20261210);
    std::uniform_int_distribution<std::size_t> length(0, MaxPasswordLength);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string password(length(generator), '\0');
        for (char& c : password) {
            c = static_cast<char>(byte(generator));
        }
        std::vector<std::uint8_t> randomBytes(10);
        for (std::uint8_t& r : randomBytes) {
            r = static_cast<std::uint8_t>(byte(generator));
        }
        const std::string text = scrambled(password, randomBytes);
        expectWellFormed(text, password.size());
        ASSERT_EQ(unscramblePassword(text), password) << "round " << round;
    }
}

}  // namespace
}  // namespace mivo
