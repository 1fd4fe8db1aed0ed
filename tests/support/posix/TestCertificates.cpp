#include "TestCertificates.h"

#include <fstream>
#include <stdexcept>
#include <vector>

#include "ChildProcess.h"

namespace mivo::test {

namespace {

constexpr auto kCommandLimit = std::chrono::seconds(60);

std::string runOpenssl(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"openssl"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess openssl(command);
    const ChildExit exit = openssl.wait(ChildProcess::Clock::now() + kCommandLimit);
    if (exit.exitCode != 0) {
        throw std::runtime_error("openssl " + arguments.front() + " failed (" + exit.describe() +
                                 "): " + openssl.standardError());
    }
    return openssl.standardOutput();
}

// A self-signed CA certificate and its key.
void makeAuthority(const std::filesystem::path& directory, const std::string& name) {
    runOpenssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                "-nodes", "-days", "2", "-subj", "/CN=Mivo Test " + name, "-addext",
                "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign",
                "-keyout", (directory / (name + ".key")).string(), "-out",
                (directory / (name + ".pem")).string()});
}

}  // namespace

bool TestCertificates::available() {
    try {
        runOpenssl({"version"});
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

TestCertificates::TestCertificates(const std::filesystem::path& directory)
    : m_directory(directory) {
    std::filesystem::create_directories(m_directory);
    makeAuthority(m_directory, "ca");
    makeAuthority(m_directory, "other-ca");
    const std::string request = (m_directory / "server.csr").string();
    runOpenssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                "-subj", "/CN=localhost", "-keyout", serverKeyFile(), "-out", request});
    const std::filesystem::path extensions = m_directory / "server.ext";
    std::ofstream(extensions) << "subjectAltName=DNS:localhost\n"
                                 "basicConstraints=CA:FALSE\n"
                                 "extendedKeyUsage=serverAuth\n";
    runOpenssl({"x509", "-req", "-in", request, "-CA", caFile(), "-CAkey",
                (m_directory / "ca.key").string(), "-CAcreateserial", "-days", "2", "-extfile",
                extensions.string(), "-out", serverCertificateFile()});
    // "sha256 Fingerprint=AB:CD:...": the text after the '='.
    const std::string printed =
        runOpenssl({"x509", "-noout", "-fingerprint", "-sha256", "-in", serverCertificateFile()});
    const std::size_t equals = printed.find('=');
    if (equals == std::string::npos) {
        throw std::runtime_error("openssl printed no fingerprint: " + printed);
    }
    m_serverFingerprint = printed.substr(equals + 1);
    while (!m_serverFingerprint.empty() &&
           (m_serverFingerprint.back() == '\n' || m_serverFingerprint.back() == '\r')) {
        m_serverFingerprint.pop_back();
    }
}

}  // namespace mivo::test
