// mivo-check against Dovecot over TLS, with certificates made at test time:
// POP3S and STLS, each way a certificate check can fail, pins, a server
// without STLS, and a plain host beside them unchanged.

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "DovecotServer.h"
#include "TestCertificates.h"

namespace mivo::test {
namespace {

constexpr auto kRunLimit = std::chrono::minutes(2);

struct CheckRun {
    int exitCode = -1;
    std::string log;       // standard output: the Log
    std::string messages;  // standard error: the captions
};

class MivoCheckTlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (DovecotServer::programPath().empty()) {
            GTEST_SKIP() << "Dovecot is not installed (Debian package dovecot-pop3d)";
        }
        if (!TestCertificates::available()) {
            GTEST_SKIP() << "the openssl command is not installed (Debian package openssl)";
        }
        m_certificates = std::make_unique<TestCertificates>(server.directory() / "tls");
        server.addUser("alice", "secret1");
        server.deliverMany("alice", 2);
        server.enableTls(m_certificates->serverCertificateFile(), m_certificates->serverKeyFile());
        server.start();
    }

    void TearDown() override {
        if (HasFailure()) {
            std::cerr << "--- last mivo-check Log ---\n"
                      << m_last.log << "--- its standard error ---\n"
                      << m_last.messages << "--- Dovecot log ---\n"
                      << server.logText();
        }
    }

    const TestCertificates& certificates() const { return *m_certificates; }

    // One cycle of one account, trusting the certificates in `caFile` only.
    CheckRun check(const std::string& host, const std::string& caFile) {
        const std::filesystem::path config =
            server.directory() / ("config-" + std::to_string(++m_runs));
        std::filesystem::create_directories(config);
        ChildOptions options;
        options.environment = {{"XDG_CONFIG_HOME", config.string()}, {"MIVO_TLS_CA_FILE", caFile}};
        ChildProcess child(
            {MIVO_CHECK_PROGRAM, "--cycles", "1", "--account", "alice", "secret1", host}, options);
        const ChildExit exit = child.wait(ChildProcess::Clock::now() + kRunLimit);
        EXPECT_FALSE(exit.timedOut) << "mivo-check did not end within the limit";
        m_last = CheckRun{exit.exitCode, child.standardOutput(), child.standardError()};
        return m_last;
    }

    std::string tlsHost(const std::string& host) const {
        return host + ":" + std::to_string(server.tlsPort());
    }
    std::string plainHost(const std::string& host) const {
        return host + ":" + std::to_string(server.port());
    }

    DovecotServer server;

private:
    std::unique_ptr<TestCertificates> m_certificates;
    CheckRun m_last;
    int m_runs = 0;
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(MivoCheckTlsTest, TrustedServerIsCheckedOverPop3sAndStls) {
    const std::string ca = certificates().caFile();
    struct Case {
        std::string host;
        bool tls;
    } const cases[] = {
        {"pop3s://" + tlsHost("localhost"), true},
        {"stls://" + plainHost("localhost"), true},
        {"STLS://" + plainHost("localhost"), true},
        // A plain host beside them still speaks plain POP3.
        {plainHost("localhost"), false},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.host);
        const CheckRun run = check(each.host, ca);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(contains(run.log, "Sender 2 <s2@example.org>\tMessage 2"));
        EXPECT_EQ(contains(run.log, "TLS: TLSv1."), each.tls);
        EXPECT_FALSE(contains(run.log, "secret1")) << "the password reached the Log";
    }
    // The session's own lines are those of plain POP3, the TLS line before them.
    const CheckRun stls = check("stls://" + plainHost("localhost"), ca);
    EXPECT_LT(stls.log.find("TLS: TLSv1."), stls.log.find("###Got Connection"));
    EXPECT_LT(stls.log.find("###Got Connection"), stls.log.find("2 - Sending USER(alice"));
}

TEST_F(MivoCheckTlsTest, CertificateFailuresFailTheAccountAndSayWhy) {
    const std::string ca = certificates().caFile();
    const std::string untrusted = certificates().otherCaFile();
    const std::string pin = certificates().serverFingerprint();
    const std::string wrongPin(64, '0');
    struct Case {
        const char* name;
        std::string host;
        std::string caFile;
        const char* reason;  // empty when the check succeeds
    } const cases[] = {
        {"another name than the certificate's", "pop3s://" + tlsHost("127.0.0.1"), ca,
         "TLS: certificate verify failed (IP address mismatch) for 127.0.0.1"},
        {"a chain that leads to no trusted CA", "pop3s://" + tlsHost("localhost"), untrusted,
         "TLS: certificate verify failed (unable to get local issuer certificate) for localhost"},
        {"the same with the right pin", "pop3s://" + tlsHost("localhost") + "#sha256=" + pin,
         untrusted, ""},
        {"a pin in lower case without colons on STLS",
         "stls://" + plainHost("127.0.0.1") + "#sha256=" +
             [&] {
                 std::string digits;
                 for (char c : pin) {
                     if (c != ':') {
                         digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                     }
                 }
                 return digits;
             }(),
         untrusted, ""},
        {"a wrong pin", "pop3s://" + tlsHost("localhost") + "#sha256=" + wrongPin, ca,
         "TLS: certificate fingerprint does not match the pin for localhost"},
        {"a wrong pin on STLS", "stls://" + plainHost("localhost") + "#sha256=" + wrongPin, ca,
         "TLS: certificate fingerprint does not match the pin for localhost"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const CheckRun run = check(each.host, each.caFile);
        if (std::string(each.reason).empty()) {
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_TRUE(contains(run.log, "certificate matches its pin"));
            continue;
        }
        EXPECT_EQ(run.exitCode, 2);
        // The accounts dialog's error line, which the Log repeats.
        EXPECT_TRUE(contains(run.log, std::string("Account #1 ") + each.reason)) << "Log";
        EXPECT_TRUE(contains(run.messages, std::string("caption: (alice)") + each.reason))
            << "caption";
        // The certificate shown is named, so that it can be pinned.
        EXPECT_TRUE(contains(run.log, "TLS: the server's certificate is #sha256=" + pin));
        EXPECT_FALSE(contains(run.log, "PASS")) << "a command went out after a failed check";
    }
}

TEST_F(MivoCheckTlsTest, PlainTextToATlsPortOrTlsToAPlainPortFails) {
    const std::string ca = certificates().caFile();
    // Port 995 rules aside, a plain host on the TLS port gets no greeting it
    // understands, and TLS on the plain port no handshake.
    const CheckRun tlsOnPlain = check("pop3s://" + plainHost("localhost"), ca);
    EXPECT_EQ(tlsOnPlain.exitCode, 2);
    EXPECT_TRUE(contains(tlsOnPlain.log, "TLS: handshake failed (")) << "Log";
}

TEST_F(MivoCheckTlsTest, ServerWithoutStlsIsNeverSentThePassword) {
    DovecotServer plainOnly;
    plainOnly.addUser("alice", "secret1");
    plainOnly.start();
    const CheckRun run =
        check("stls://localhost:" + std::to_string(plainOnly.port()), certificates().caFile());
    EXPECT_EQ(run.exitCode, 2);
    const std::string reason = "TLS: the server refused STLS for localhost";
    EXPECT_TRUE(contains(run.log, reason));
    EXPECT_TRUE(contains(run.messages, "caption: (alice)" + reason));
    EXPECT_FALSE(contains(run.log, "USER")) << "the login went on in clear";
    EXPECT_FALSE(contains(plainOnly.logText(), "user=<alice>")) << "the server saw a login";
}

}  // namespace
}  // namespace mivo::test
