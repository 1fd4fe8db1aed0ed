#include <gtest/gtest.h>

#include <string>

#include "transport/PopHost.h"
#include "transport/PopTarget.h"

namespace mivo {
namespace {

constexpr const char* kPin = "9c4c7609dceffF5a0801409a48029f6d3d4be8222f2ce8d1dd5f84dc331d5441";
const std::string kLowerPin = "9c4c7609dcefff5a0801409a48029f6d3d4be8222f2ce8d1dd5f84dc331d5441";

TEST(PopTargetTest, ReadsEveryHostForm) {
    struct Row {
        std::string text;
        std::string host;
        int port;
        PopSecurity security;
        std::string pin;
    };
    const std::string colonPin =
        "9C:4C:76:09:DC:EF:FF:5A:08:01:40:9A:48:02:9F:6D:3D:4B:E8:22:2F:2C:E8:D1:DD:5F:84:DC:33:"
        "1D:54:41";
    const Row rows[] = {
        {"pop.example.org", "pop.example.org", 110, PopSecurity::Plain, ""},
        {"pop.example.org:2110", "pop.example.org", 2110, PopSecurity::Plain, ""},
        {"pop.example.org:995", "pop.example.org", 995, PopSecurity::Tls, ""},
        {"10.0.0.1:995", "10.0.0.1", 995, PopSecurity::Tls, ""},
        {"pop3s://pop.example.org", "pop.example.org", 995, PopSecurity::Tls, ""},
        {"POP3S://pop.example.org:1995", "pop.example.org", 1995, PopSecurity::Tls, ""},
        {"stls://pop.example.org", "pop.example.org", 110, PopSecurity::StartTls, ""},
        {"stls://pop.example.org:995", "pop.example.org", 995, PopSecurity::StartTls, ""},
        {"[::1]", "::1", 110, PopSecurity::Plain, ""},
        {"[2001:db8::1]:995", "2001:db8::1", 995, PopSecurity::Tls, ""},
        {"pop3s://[fe80::1%eth0]", "fe80::1%eth0", 995, PopSecurity::Tls, ""},
        {"stls://[::ffff:127.0.0.1]:2110", "::ffff:127.0.0.1", 2110, PopSecurity::StartTls, ""},
        {std::string("pop3s://home.lan#sha256=") + kPin, "home.lan", 995, PopSecurity::Tls,
         kLowerPin},
        {"home.lan:995#sha256=" + colonPin, "home.lan", 995, PopSecurity::Tls, kLowerPin},
        {"stls://[::1]:110#sha256=" + colonPin, "::1", 110, PopSecurity::StartTls, kLowerPin},
        // Texts without a scheme, brackets or a pin are split as they always were.
        {"host:0", "host:0", 110, PopSecurity::Plain, ""},
        {"a:b:2110", "a:b", 2110, PopSecurity::Plain, ""},
        {"host#fragment", "host#fragment", 110, PopSecurity::Plain, ""},
        {"", "", 110, PopSecurity::Plain, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const ParsedPopTarget parsed = parsePopTarget(row.text);
        ASSERT_TRUE(parsed.ok()) << parsed.error;
        EXPECT_EQ(parsed.target.host, row.host);
        EXPECT_EQ(parsed.target.port, row.port);
        EXPECT_EQ(parsed.target.security, row.security);
        EXPECT_EQ(parsed.target.pinnedSha256, row.pin);
        if (row.security == PopSecurity::Plain && row.text.find('[') == std::string::npos) {
            const PopHost split = splitPopHost(row.text);
            EXPECT_EQ(split.host, row.host) << "a plain text must split as before";
            EXPECT_EQ(split.port, row.port);
        }
    }
}

TEST(PopTargetTest, RefusesWhatCannotBeMeantAndSaysWhy) {
    struct Row {
        std::string text;
        const char* because;
    };
    const Row rows[] = {
        {"pop3s://", "a host name or address must follow the scheme"},
        {"stls://:110", "a host name or address must follow the scheme"},
        {"pop3s://host/path", "a host name or address must follow the scheme"},
        {"pop3s://user@host", "a host name or address must follow the scheme"},
        {"pop3s://host:0", "the port after the host must be a number from 1 to 65535"},
        {"pop3s://host:pop3s", "the port after the host must be a number from 1 to 65535"},
        {"[::1", "an address in brackets must be an IPv6 address"},
        {"[]:995", "an address in brackets must be an IPv6 address"},
        {"[pop.example.org]", "an address in brackets must be an IPv6 address"},
        {"[::1]995", "after ] only :port may follow"},
        {"[::1]:70000", "after ] only :port may follow"},
        {"pop3s://host#sha256=abc", "needs 64 hex digits, not 3"},
        {"pop3s://host#sha256=" + std::string(63, 'a') + "g",
         "may hold only hex digits and colons"},
        {"pop3s://host#sha256=", "needs 64 hex digits, not 0"},
        {"host#sha256=" + kLowerPin, "a certificate pin needs TLS"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const ParsedPopTarget parsed = parsePopTarget(row.text);
        EXPECT_FALSE(parsed.ok());
        EXPECT_NE(parsed.error.find(row.because), std::string::npos) << parsed.error;
    }
}

}  // namespace
}  // namespace mivo
