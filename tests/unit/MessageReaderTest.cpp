// A RETR reply's bytes turned into the message saved, given whole and cut
// in two at every offset.

#include <gtest/gtest.h>

#include <string>

#include "pop3/MessageReader.h"

namespace mivo {
namespace {

struct Case {
    const char* what;
    std::string reply;    // the bytes after the status line
    std::string message;  // what is saved
    std::string after;    // what the reply's end leaves for the next reply
};

// Reads `pieces` in turn; returns the message and the bytes not taken.
std::pair<std::string, std::string> read(const std::vector<std::string>& pieces) {
    MessageReader reader;
    reader.begin();
    std::string message;
    std::string rest;
    for (const std::string& piece : pieces) {
        if (reader.ended()) {
            rest += piece;
            continue;
        }
        const std::size_t taken = reader.take(piece, message);
        rest += piece.substr(taken);
    }
    EXPECT_TRUE(reader.ended());
    return {message, rest};
}

TEST(MessageReader, SavesTheMessageAsTheServerHoldsItWhereverTheBytesAreCut) {
    using namespace std::string_literals;
    const Case cases[] = {
        {"lines end in LF", "a\r\nb\r\n.\r\n", "a\nb\n", ""},
        {"an empty message", ".\r\n", "", ""},
        {"an empty line", "a\r\n\r\nb\r\n.\r\n", "a\n\nb\n", ""},
        {"the server's dot is taken off", "..a\r\n...\r\n.b\r\n.\r\n", ".a\n..\nb\n", ""},
        {"a long line keeps its start", std::string(5000, 'q') + "\r\n.\r\n",
         std::string(5000, 'q') + "\n", ""},
        {"a NUL is a byte like any other", "a\0b\r\n.\r\n"s, "a\0b\n"s, ""},
        {"a lone CR stays", "a\rb\r\n\r\r\n.\r\n", "a\rb\n\r\n", ""},
        {"a bare LF ends a line", "a\nb\n.\n", "a\nb\n", ""},
        {"a dot and CR before other text", ".\rx\r\n.\r\n", "\rx\n", ""},
        {"what follows is the next reply's", "a\r\n.\r\n+OK next\r\n", "a\n", "+OK next\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto whole = read({c.reply});
        EXPECT_EQ(whole.first, c.message);
        EXPECT_EQ(whole.second, c.after);
        for (std::size_t cut = 1; cut < c.reply.size(); ++cut) {
            const auto split = read({c.reply.substr(0, cut), c.reply.substr(cut)});
            ASSERT_EQ(split, whole) << "cut at " << cut;
        }
    }
}

TEST(MessageReader, TakesNothingAfterItsEndUntilBegunAgain) {
    MessageReader reader;
    reader.begin();
    std::string message;
    EXPECT_EQ(reader.take("a\r\n.\r\nb\r\n", message), 6u);
    EXPECT_EQ(reader.take("b\r\n", message), 0u);
    EXPECT_EQ(message, "a\n");
    reader.begin();
    EXPECT_FALSE(reader.ended());
    EXPECT_EQ(reader.take(".\r\n", message), 3u);
    EXPECT_TRUE(reader.ended());
}

}  // namespace
}  // namespace mivo
