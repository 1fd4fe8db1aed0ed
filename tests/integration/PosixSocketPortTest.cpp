// The socket adapter on its own over loopback: which notifications it gives
// and when, below the transport.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EventLoopWait.h"
#include "ScriptedServer.h"
#include "posix/PosixSocketPort.h"

namespace mivo {
namespace {

using test::runEventLoopUntil;

constexpr Ipv4Address kLoopback = 0x7F000001;

class RecordingSink : public SocketNotificationSink {
public:
    std::vector<int> events;
    std::function<void(const SocketNotification&)> then;

    void notify(const SocketNotification& notification) override {
        events.push_back(notification.event);
        if (then) {
            then(notification);
        }
    }
};

// As on Windows: after an FD_READ no other comes until a receive has
// answered it, however long the data waits and whatever else arrives.
TEST(PosixSocketPortTest, NoReadNotificationBeforeTheLastIsAnsweredByAReceive) {
    test::ScriptedServer server;
    server.send("+OK\r\n").expectLine("GO").send("more\r\n").close();
    server.start();
    PosixSocketPort sockets;
    RecordingSink sink;
    sockets.setNotificationSink(&sink);
    const SocketResult<SocketHandle> created = sockets.createStreamSocket();
    ASSERT_TRUE(created.ok());
    const SocketHandle socket = created.value;
    sockets.connect(socket, kLoopback, server.port());
    sockets.selectNotifications(socket, 0, FdRead | FdConnect | FdClose);
    // The first FD_READ is answered by a send only: the server goes on.
    sink.then = [&](const SocketNotification& notification) {
        if (notification.event == FdRead) {
            sockets.send(socket, "GO\r\n", 4);
        }
    };

    ASSERT_TRUE(runEventLoopUntil([&] { return server.finishedConnections() == 1; }));
    // Some more passes of the loop with the second reply and the end waiting.
    int passes = 0;
    runEventLoopUntil([&] { return ++passes > 5; });
    EXPECT_EQ(sink.events, (std::vector<int>{FdConnect, FdRead}));

    sink.then = nullptr;
    std::string buffer(64, '\0');
    EXPECT_GT(sockets.receive(socket, buffer.data(), static_cast<int>(buffer.size())).value, 0);
    ASSERT_TRUE(runEventLoopUntil([&] { return sink.events.size() == 3; }));
    EXPECT_EQ(sink.events, (std::vector<int>{FdConnect, FdRead, FdRead}));
    for (const std::string& failure : server.failures()) {
        ADD_FAILURE() << "server: " << failure;
    }
    sockets.close(socket);
}

}  // namespace
}  // namespace mivo
