#pragma once
// Certificates made at test time with the openssl command: a test CA and a
// server certificate for "localhost" signed by it, and a second CA that
// signed nothing the server shows (for an untrusted chain).

#include <filesystem>
#include <string>

namespace mivo::test {

class TestCertificates {
public:
    // Writes everything into `directory`; throws std::runtime_error when the
    // openssl command is missing or fails.
    explicit TestCertificates(const std::filesystem::path& directory);

    // Whether the openssl command can be run here.
    static bool available();

    std::string caFile() const { return (m_directory / "ca.pem").string(); }
    std::string otherCaFile() const { return (m_directory / "other-ca.pem").string(); }
    std::string serverCertificateFile() const { return (m_directory / "server.pem").string(); }
    std::string serverKeyFile() const { return (m_directory / "server.key").string(); }
    // The server certificate's SHA-256 fingerprint as `openssl x509
    // -fingerprint -sha256` prints it (colon-separated upper-case hex).
    const std::string& serverFingerprint() const { return m_serverFingerprint; }

private:
    std::filesystem::path m_directory;
    std::string m_serverFingerprint;
};

}  // namespace mivo::test
