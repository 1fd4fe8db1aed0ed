// Turning a plain conversation to TLS against a TLS server on loopback, with
// certificates made at test time: the reply that agreed to it may reach the
// client cut between its CR and its LF.

#include <gtest/gtest.h>
#include <openssl/ssl.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "EventLoopWait.h"
#include "LoopbackPort.h"
#include "TemporaryDirectory.h"
#include "TestCertificates.h"
#include "TransportEvents.h"
#include "posix/PosixSocketPort.h"
#include "tls/TlsSocketPort.h"
#include "transport/TcpTransport.h"

namespace mivo {
namespace {

using test::Connected;
using test::Line;
using test::RecordedEvent;

struct SslContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
struct SslFree {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};

// Agrees to TLS with "+OK go" and a CR, and sends the LF only once the
// client's handshake has begun, so that the LF is the first byte the client
// reads after it turned to TLS. Then says one line over TLS.
void serveStartTlsWithALateLineFeed(const test::LoopbackListener& listener,
                                    const test::TestCertificates& certificates,
                                    std::string& failure) {
    const test::FileDescriptor connection = listener.accept(std::chrono::seconds(20));
    if (connection.get() < 0) {
        failure = "no connection";
        return;
    }
    const int socket = connection.get();
    ::send(socket, "+OK go\r", 7, MSG_NOSIGNAL);
    char first = 0;
    if (::recv(socket, &first, 1, MSG_PEEK) != 1) {
        failure = "no handshake";
        return;
    }
    ::send(socket, "\n", 1, MSG_NOSIGNAL);
    const std::unique_ptr<SSL_CTX, SslContextFree> context(SSL_CTX_new(TLS_server_method()));
    if (SSL_CTX_use_certificate_chain_file(context.get(),
                                           certificates.serverCertificateFile().c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), certificates.serverKeyFile().c_str(),
                                    SSL_FILETYPE_PEM) != 1) {
        failure = "the server's certificate could not be loaded";
        return;
    }
    const std::unique_ptr<SSL, SslFree> ssl(SSL_new(context.get()));
    SSL_set_fd(ssl.get(), socket);
    if (SSL_accept(ssl.get()) != 1) {
        failure = "the handshake failed on the server's side";
        return;
    }
    const std::string line = "+OK secured\r\n";
    SSL_write(ssl.get(), line.data(), static_cast<int>(line.size()));
    // Until the client hangs up.
    char rest = 0;
    while (SSL_read(ssl.get(), &rest, 1) > 0) {
    }
}

TEST(StartTlsLoopback, TheLineFeedOfTheAgreeingReplyIsNotTakenForTls) {
    if (!test::TestCertificates::available()) {
        GTEST_SKIP() << "the openssl command is not installed (Debian package openssl)";
    }
    const test::TemporaryDirectory directory;
    const test::TestCertificates certificates(directory.path());
    const test::LoopbackListener listener;
    std::string failure;
    std::thread server([&] { serveStartTlsWithALateLineFeed(listener, certificates, failure); });

    TlsSocketPort sockets(std::make_unique<PosixSocketPort>(),
                          TlsSocketPort::Configuration{certificates.caFile()});
    TcpTransport transport(sockets);
    ASSERT_EQ(transport.TcpInit(), 1);
    std::vector<RecordedEvent> events;
    int slot = -1;
    slot = transport.TcpOpenSlot([&](TcpEvent event, std::string_view data) {
        test::recordInto(events)(event, data);
        if (event == TcpEvent::Line && events.size() == 2) {
            EXPECT_EQ(transport.TcpStartTls(
                          slot, TlsSettings{.serverName = "localhost", .pinnedSha256 = ""}),
                      1);
        }
        return std::size_t{0};
    });
    ASSERT_EQ(transport.TcpConnect(slot, "127.0.0.1", listener.port()), 1);
    test::runEventLoopUntil([&] {
        return events.size() >= 4 || (!events.empty() && events.back().event == TcpEvent::Closed);
    });
    EXPECT_EQ(events, (std::vector<RecordedEvent>{Connected(), Line("+OK go"), Connected(),
                                                  Line("+OK secured")}));
    transport.TcpClose(slot);
    server.join();
    EXPECT_EQ(failure, "");
}

}  // namespace
}  // namespace mivo
