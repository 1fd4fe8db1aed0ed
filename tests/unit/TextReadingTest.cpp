#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "pop3/HeaderFields.h"
#include "text/IntegerText.h"

namespace mivo {
namespace {

TEST(ReadInteger, ReadsWithAutomaticBaseAndStopsAtTheFirstMisfit) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"20", 20},
        {"", 0},
        {"abc", 0},
        {"0", 0},
        {"08", 0},
        {"017", 15},
        {"0x2", 2},
        {"0X1f", 31},
        {"0x", 0},
        {"0xg", 0},
        {" \t-12 apples", -12},
        {"+7", 7},
        {"3 1200", 3},
        {"- 5", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(HeaderFields, TakeTheRestOfTheLineAfterTheName) {
    struct Case {
        const char* line;
        std::string from;
        std::string subject;
    };
    const Case cases[] = {
        {"From: Ann <ann@example.org>", "Ann <ann@example.org>", ""},
        {"From:someone", "someone", ""},
        {"From someone@example.org Mon Jan  1", "someone@example.org Mon Jan  1", ""},
        {"From:  two blanks", " two blanks", ""},
        {"Fromage: x", "age: x", ""},
        {"From", "", ""},
        {"From: ", "", ""},
        {"Subject: Hello there", "", "Hello there"},
        {"Subject:tight", "", "tight"},
        {"Subject quoted", "", "quoted"},
        {"Subject-Id: x123", "", "-Id: x123"},
        {"Subject: =?utf-8?q?caf=C3=A9?=", "", "=?utf-8?q?caf=C3=A9?="},
    };
    for (const Case& c : cases) {
        const std::string line = c.line;
        if (startsWith(line, "From")) {
            EXPECT_EQ(ExtractFrom(line), c.from) << line;
        } else {
            EXPECT_EQ(ExtractSubject(line), c.subject) << line;
        }
    }
}

TEST(HeaderFields, CutLongValuesAt103Characters) {
    const std::string value(300, 'v');
    EXPECT_EQ(ExtractFrom("From: " + value), value.substr(0, 103));
    EXPECT_EQ(ExtractSubject("Subject: " + value), value.substr(0, 103));
    EXPECT_EQ(ExtractSubject("Subject: " + value.substr(0, 103)).size(), 103u);
}

}  // namespace
}  // namespace mivo
