// mivo-check over the IPv6 loopback: a literal address in brackets carries
// the same conversation, byte for byte, as 127.0.0.1 does.

#include <gtest/gtest.h>

#include <string>

#include "LoopbackPort.h"
#include "MivoCheckRun.h"
#include "ScriptedServer.h"

namespace mivo::test {
namespace {

TEST(MivoCheckIpv6, BracketedLiteralAddressConverses) {
    if (!hasIpv6Loopback()) {
        GTEST_SKIP() << "this machine has no IPv6 loopback address (::1)";
    }
    for (const LoopbackFamily family : {LoopbackFamily::Ipv4, LoopbackFamily::Ipv6}) {
        ScriptedServer server(family);
        SCOPED_TRACE(server.hostAndPort());
        server.send("+OK ready\r\n")
            .expectLine("USER bob")
            .send("+OK\r\n")
            .expectLine("PASS pw")
            .send("+OK\r\n")
            .expectLine("STAT")
            .send("+OK 0 0\r\n")
            .expectLine("QUIT")
            .send("+OK bye\r\n")
            .close();
        server.start();
        const CheckRun run = runMivoCheck({"--account", "bob", "pw", server.hostAndPort()});
        EXPECT_EQ(run.exit.exitCode, 1) << run.output << run.errors;
        EXPECT_EQ(server.received(0), "USER bob\r\nPASS pw\r\nSTAT\r\nQUIT\r\n");
        EXPECT_TRUE(server.failures().empty());
    }
}

}  // namespace
}  // namespace mivo::test
