#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "transport/Ipv4Text.h"
#include "transport/PopHost.h"

namespace mivo {
namespace {

TEST(PopHostTest, SplitsAPortSuffixOnlyWhenItIsAValidPort) {
    struct {
        const char* text;
        const char* host;
        int port;
    } const rows[] = {
        {"pop.example.org", "pop.example.org", 110},
        {"pop.example.org:995", "pop.example.org", 995},
        {"127.0.0.1:2110", "127.0.0.1", 2110},
        {"host:1", "host", 1},
        {"host:65535", "host", 65535},
        {"host:0", "host:0", 110},
        {"host:65536", "host:65536", 110},
        {"host:", "host:", 110},
        {"host:11O", "host:11O", 110},
        {"host:+110", "host:+110", 110},
        {"a:b:2110", "a:b", 2110},
        {":110", ":110", 110},
        {"", "", 110},
    };
    for (const auto& row : rows) {
        const PopHost split = splitPopHost(row.text);
        EXPECT_EQ(split.host, row.host) << row.text;
        EXPECT_EQ(split.port, row.port) << row.text;
    }
}

TEST(PopHostTest, PortTextAndSuffixValidation) {
    EXPECT_EQ(parsePortText("110"), 110);
    EXPECT_EQ(parsePortText("00110"), 110);
    EXPECT_EQ(parsePortText("65535"), 65535);
    for (const char* bad :
         {"", "0", "65536", "99999999999999999999", "-1", " 110", "110 ", "1e3"}) {
        EXPECT_EQ(parsePortText(bad), std::nullopt) << bad;
    }
    EXPECT_TRUE(hasValidPortSuffix("pop.example.org"));
    EXPECT_TRUE(hasValidPortSuffix("pop.example.org:995"));
    EXPECT_FALSE(hasValidPortSuffix("pop.example.org:pop3"));
    // A host that begins with a digit is an address when it is digits and
    // dots (valid or not) or parses as one; otherwise it is a name.
    for (const char* numeric :
         {"10.0.0.1", "255.255.255.255", "1.2.3.999", "0x7f000001", "127.1"}) {
        EXPECT_TRUE(isNumericHost(numeric)) << numeric;
    }
    for (const char* name : {"163mail.example", "1and1.example", "localhost", ""}) {
        EXPECT_FALSE(isNumericHost(name)) << name;
    }
}

TEST(PopHostTest, DottedTextConvertsAsTheClassicSocketCall) {
    struct {
        const char* text;
        Ipv4Address address;
    } const rows[] = {
        {"127.0.0.1", 0x7F000001},        {"255.255.255.255", 0xFFFFFFFF},
        {"10.1.2", 0x0A010002},          // the last part fills two bytes
        {"10.70000", 0x0A011170},        // ... or three
        {"2130706433", 0x7F000001},      // ... or all four
        {"0177.0.0.01", 0x7F000001},     // octal
        {"0x7f.0X0.0.0xA", 0x7F00000A},  // hexadecimal
        {"1.2.3.4 trailing", 0x01020304}, {"1.2.3.256", 0xFFFFFFFF},
        {"1.2.65536", 0xFFFFFFFF},        {"256.1.1.1", 0xFFFFFFFF},
        {"1.2.3.4.5", 0xFFFFFFFF},        {"1.2.3.", 0xFFFFFFFF},
        {"1..3.4", 0xFFFFFFFF},           {"08.1.1.1", 0xFFFFFFFF},
        {"1.2.3.4x", 0xFFFFFFFF},         {"4294967296", 0xFFFFFFFF},
        {"1mail.example", 0xFFFFFFFF},    {"", 0xFFFFFFFF},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(inetAddr(row.text), row.address) << row.text;
    }
    EXPECT_EQ(inetNtoa(0x7F000001), "127.0.0.1");
    EXPECT_EQ(inetNtoa(0xC0A8FF0A), "192.168.255.10");
}

}  // namespace
}  // namespace mivo
