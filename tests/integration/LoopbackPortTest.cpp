// The test suites' loopback ports: what a test relies on when it hands a
// port to the code under test, above all that nobody else can take it.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <system_error>

#include "FileDescriptor.h"
#include "LoopbackPort.h"
#include "Pop3LineClient.h"

namespace mivo::test {
namespace {

// The errno of binding a fresh socket to 127.0.0.1:`port`, 0 when it binds.
int bindError(int port) {
    const FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return ::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
               ? 0
               : errno;
}

int connectError(int port) {
    try {
        Pop3LineClient client("127.0.0.1", port, std::chrono::seconds(5));
        return 0;
    } catch (const std::system_error& error) {
        return error.code().value();
    }
}

TEST(LoopbackPort, RefusingPortRefusesAndNobodyElseCanBindIt) {
    const RefusingPort refusing;
    EXPECT_GT(refusing.port(), 0);
    EXPECT_EQ(refusing.hostAndPort(), "127.0.0.1:" + std::to_string(refusing.port()));
    EXPECT_EQ(connectError(refusing.port()), ECONNREFUSED);
    EXPECT_EQ(bindError(refusing.port()), EADDRINUSE);
}

TEST(LoopbackPort, ListenerQueuesConnectionsUntilTheTestAcceptsThem) {
    const LoopbackListener listener;
    EXPECT_EQ(bindError(listener.port()), EADDRINUSE);
    EXPECT_FALSE(listener.accept(std::chrono::milliseconds(0)).isOpen());

    Pop3LineClient client("127.0.0.1", listener.port(), std::chrono::seconds(5));
    Pop3LineClient server(listener.accept(std::chrono::seconds(5)));
    server.sendLine("+OK hello");
    EXPECT_EQ(client.readLine(), "+OK hello");
}

TEST(LoopbackPort, EveryHeldPortIsADifferentOne) {
    const RefusingPort first;
    const RefusingPort second;
    const LoopbackListener third;
    EXPECT_NE(first.port(), second.port());
    EXPECT_NE(first.port(), third.port());
    EXPECT_NE(second.port(), third.port());
}

}  // namespace
}  // namespace mivo::test
