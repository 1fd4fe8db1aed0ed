// One whole check of a full mailbox by mivo-check and by the lock-step
// reference client: wall time, CPU time and peak memory, and how the cost per
// message holds up as the mailbox grows. The mailbox is served by a private
// Dovecot server and by the split-write server, which answers in small writes
// with Nagle on and so shows what a delayed acknowledgement costs a client.
// Over POP3S both clients talk TLS to Dovecot, with a CA made for the run;
// the handshake is timed apart. Through a proxy that delays each direction,
// both clients meet the round trip of a real link.
//
//   mivo_end_to_end_benchmark [--mivo-check PATH] [--reference PATH]
//                             [--counts 1000,10000] [--split-write-counts 200]
//                             [--tls-counts 10000] [--repetitions 5]
//                             [--delayed-counts 1000] [--delay-ms 10]
//                             [--delayed-repetitions 3]

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchmarkReport.h"
#include "ChildProcess.h"
#include "DelayLineProxy.h"
#include "DovecotServer.h"
#include "SplitWritePop3Server.h"
#include "TestCertificates.h"

namespace {

using mivo::bench::DelayLineProxy;
using mivo::bench::kDovecot;
using mivo::bench::kSplitWrite;
using mivo::bench::median;
using mivo::bench::Row;
using mivo::bench::Sample;
using mivo::bench::sampleOf;
using mivo::bench::SplitWritePop3Server;
using mivo::test::ChildExit;
using mivo::test::ChildOptions;
using mivo::test::ChildProcess;
using mivo::test::DovecotServer;
using mivo::test::TestCertificates;

constexpr auto kRunLimit = std::chrono::minutes(10);
const char* const kUser = "bench";
const char* const kPassword = "bench-password";
const char* const kEmptyUser = "empty";
const char* const kDovecotTls = "Dovecot TLS";

struct Options {
    std::string mivoCheck;
    std::string reference;
    std::vector<int> counts{1000, 10000};
    std::vector<int> splitWriteCounts{200};
    std::vector<int> tlsCounts{10000};
    int repetitions = 5;
    std::vector<int> delayedCounts{1000};
    int delayMilliseconds = 10;  // each way
    // A lock-step client takes a round trip per message: keep these few.
    int delayedRepetitions = 3;
};

// Where one server's runs keep their settings and output, and how each
// client is told to reach it.
struct Target {
    std::string hostAndPort;  // mivo-check's host text
    std::filesystem::path directory;
    // The reference client's arguments after USER PASS; empty: hostAndPort.
    std::vector<std::string> referenceArguments;
    std::vector<std::pair<std::string, std::string>> environment;  // mivo-check's
};

// Medians of the TLS handshake figures, milliseconds.
struct HandshakeFigures {
    std::vector<double> reference;  // its own TCP connect and handshake
    std::vector<double> mivoTls;    // mivo-check on an empty mailbox over TLS
    std::vector<double> mivoPlain;  // the same in plain text
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs to the end; a run that fails or reports a wrong count is no figure.
ChildExit runChecked(ChildProcess& child, const std::string& name) {
    const ChildExit exit = child.wait(ChildProcess::Clock::now() + kRunLimit);
    if (exit.timedOut) {
        throw std::runtime_error(name + " did not finish within the limit");
    }
    return exit;
}

Sample runReference(const Options& options, const Target& server, int messages,
                    std::vector<double>* handshakes = nullptr) {
    ChildOptions childOptions;
    childOptions.measurePeakMemory = true;
    std::vector<std::string> arguments{options.reference, kUser, kPassword};
    if (server.referenceArguments.empty()) {
        arguments.push_back(server.hostAndPort);
    } else {
        arguments.insert(arguments.end(), server.referenceArguments.begin(),
                         server.referenceArguments.end());
    }
    ChildProcess child(arguments, childOptions);
    const ChildExit exit = runChecked(child, "the reference client");
    std::istringstream printed(child.standardOutput());
    int listed = -1;
    long handshakeMicroseconds = -1;
    printed >> listed >> handshakeMicroseconds;
    if (exit.exitCode != 0 || listed != messages) {
        throw std::runtime_error("the reference client failed (" + exit.describe() +
                                 "): " + child.standardOutput() + child.standardError());
    }
    if (handshakes != nullptr && handshakeMicroseconds >= 0) {
        handshakes->push_back(static_cast<double>(handshakeMicroseconds) / 1000.0);
    }
    return sampleOf(exit);
}

int countSummaryLines(const std::string& log) {
    int count = 0;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        count += line.rfind("Sender ", 0) == 0 && line.find('\t') != std::string::npos;
    }
    return count;
}

Sample runMivoCheck(const Options& options, const Target& server, int messages, int run,
                    const char* user = kUser) {
    // A settings directory of its own: every run starts knowing no message.
    const std::filesystem::path config = server.directory / ("config-" + std::to_string(run));
    std::filesystem::create_directories(config);
    // Files, not pipes: draining 10000 messages' worth of Log through this
    // process would compete with the run being measured.
    ChildOptions childOptions;
    childOptions.standardOutputFile = (server.directory / "mivo-check.out").string();
    childOptions.standardErrorFile = (server.directory / "mivo-check.err").string();
    childOptions.environment = server.environment;
    childOptions.environment.emplace_back("XDG_CONFIG_HOME", config.string());
    childOptions.measurePeakMemory = true;
    std::filesystem::remove(childOptions.standardOutputFile);
    std::filesystem::remove(childOptions.standardErrorFile);

    ChildProcess child({options.mivoCheck, "--interval", "1", "--cycles", "1", "--account", user,
                        kPassword, server.hostAndPort},
                       childOptions);
    const ChildExit exit = runChecked(child, "mivo-check");
    const int listed = countSummaryLines(readFile(childOptions.standardOutputFile));
    if (exit.exitCode != (messages > 0 ? 0 : 1) || listed != messages) {
        throw std::runtime_error(
            "mivo-check failed (" + exit.describe() + ", " + std::to_string(listed) + " of " +
            std::to_string(messages) +
            " messages listed): " + readFile(childOptions.standardErrorFile).substr(0, 2000));
    }
    return sampleOf(exit);
}

std::vector<int> parseCounts(const std::string& text) {
    std::vector<int> counts;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        const int count = std::stoi(item);
        if (count < 0) {
            throw std::invalid_argument("message counts must not be negative");
        }
        // 0 alone leaves the server out.
        if (count > 0) {
            counts.push_back(count);
        }
    }
    return counts;
}

Options parseOptions(int argc, char** argv) {
    Options options;
#ifdef MIVO_CHECK_PROGRAM
    options.mivoCheck = MIVO_CHECK_PROGRAM;
#endif
#ifdef MIVO_REFERENCE_CLIENT
    options.reference = MIVO_REFERENCE_CLIENT;
#endif
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            throw std::invalid_argument("missing value after " + option);
        }
        const std::string value = argv[++i];
        if (option == "--mivo-check") {
            options.mivoCheck = value;
        } else if (option == "--reference") {
            options.reference = value;
        } else if (option == "--counts") {
            options.counts = parseCounts(value);
        } else if (option == "--tls-counts") {
            options.tlsCounts = parseCounts(value);
        } else if (option == "--split-write-counts") {
            options.splitWriteCounts = parseCounts(value);
        } else if (option == "--repetitions") {
            options.repetitions = std::max(1, std::stoi(value));
        } else if (option == "--delayed-counts") {
            options.delayedCounts = parseCounts(value);
        } else if (option == "--delay-ms") {
            options.delayMilliseconds = std::max(0, std::stoi(value));
        } else if (option == "--delayed-repetitions") {
            options.delayedRepetitions = std::max(1, std::stoi(value));
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    if (options.reference.empty()) {
        throw std::invalid_argument("no reference client: give --reference PATH");
    }
    return options;
}

// The measured runs, both clients taking turns, after a warm-up run when
// the server has something to warm up.
void measure(const Options& options, const std::string& serverName, const Target& server,
             int messages, bool warmUp, std::vector<Row>& rows,
             std::vector<double>* handshakes = nullptr) {
    if (warmUp) {
        runReference(options, server, messages);
    }
    std::vector<Sample> reference;
    std::vector<Sample> mivo;
    for (int run = 1; run <= options.repetitions; ++run) {
        reference.push_back(runReference(options, server, messages, handshakes));
        if (!options.mivoCheck.empty()) {
            mivo.push_back(runMivoCheck(options, server, messages, run));
        }
        std::cerr << "." << std::flush;
    }
    std::cerr << '\n';
    rows.push_back({serverName, messages, "reference", median(reference)});
    if (!mivo.empty()) {
        rows.push_back({serverName, messages, "mivo-check", median(mivo)});
    }
}

void measureDovecot(const Options& options, int messages, std::vector<Row>& rows) {
    DovecotServer server;
    server.addUser(kUser, kPassword);
    server.deliverMany(kUser, messages);
    server.start();
    // The warm-up also lets the server build its index, which no client
    // should pay for.
    measure(options, kDovecot, {server.hostAndPort(), server.directory(), {}, {}}, messages, true,
            rows);
}

// POP3S: the same mailbox over TLS for both clients, the certificate checked
// against a CA made for the run. The handshake is timed apart: by the
// reference client itself, and for mivo-check as the difference between a
// check of an empty mailbox over TLS and in plain text (its TLS set-up, the
// trust store's loading and the handshake).
void measureDovecotTls(const Options& options, int messages, std::vector<Row>& rows,
                       HandshakeFigures& handshakes) {
    DovecotServer server;
    const TestCertificates certificates(server.directory() / "tls");
    server.addUser(kUser, kPassword);
    server.addUser(kEmptyUser, kPassword);
    server.deliverMany(kUser, messages);
    server.enableTls(certificates.serverCertificateFile(), certificates.serverKeyFile());
    server.start();
    const std::vector<std::pair<std::string, std::string>> trust{
        {"MIVO_TLS_CA_FILE", certificates.caFile()}};
    const Target tls{"pop3s://localhost:" + std::to_string(server.tlsPort()),
                     server.directory(),
                     {std::to_string(server.tlsPort()), "--tls", certificates.caFile()},
                     trust};
    measure(options, kDovecotTls, tls, messages, true, rows, &handshakes.reference);
    if (options.mivoCheck.empty()) {
        return;
    }
    const Target plain{"localhost:" + std::to_string(server.port()), server.directory(), {}, trust};
    for (int run = 1; run <= options.repetitions; ++run) {
        handshakes.mivoTls.push_back(
            runMivoCheck(options, tls, 0, run, kEmptyUser).wallMilliseconds);
        handshakes.mivoPlain.push_back(
            runMivoCheck(options, plain, 0, run, kEmptyUser).wallMilliseconds);
    }
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void printHandshakes(const HandshakeFigures& handshakes) {
    if (handshakes.reference.empty()) {
        return;
    }
    std::cout << "TLS handshake, reference client (TCP connect and handshake): "
              << medianOf(handshakes.reference) << " ms\n";
    if (!handshakes.mivoTls.empty()) {
        const double tls = medianOf(handshakes.mivoTls);
        const double plain = medianOf(handshakes.mivoPlain);
        std::cout << "mivo-check on an empty mailbox: " << tls << " ms over TLS, " << plain
                  << " ms in plain text; TLS adds " << tls - plain << " ms\n";
    }
}

// The same Dovecot mailbox behind the delaying proxy, both clients through
// it; warmed up directly, so the index is built before the clock runs.
void measureDelayed(const Options& options, int messages, std::vector<Row>& rows) {
    DovecotServer server;
    server.addUser(kUser, kPassword);
    server.deliverMany(kUser, messages);
    server.start();
    runReference(options, {server.hostAndPort(), server.directory(), {}, {}}, messages);
    const DelayLineProxy proxy(server.port(), std::chrono::milliseconds(options.delayMilliseconds));
    Options delayed = options;
    delayed.repetitions = options.delayedRepetitions;
    const std::string name = "Dovecot+" + std::to_string(2 * options.delayMilliseconds) + "ms";
    measure(delayed, name, {proxy.hostAndPort(), server.directory(), {}, {}}, messages, false,
            rows);
}

void measureSplitWrite(const Options& options, int messages, std::vector<Row>& rows) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "mivo-split-write-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a directory in " +
                                 std::filesystem::temp_directory_path().string());
    }
    const std::filesystem::path directory = pattern;
    try {
        const SplitWritePop3Server server(kUser, kPassword, messages);
        measure(options, kSplitWrite, {server.hostAndPort(), directory, {}, {}}, messages, false,
                rows);
    } catch (...) {
        std::filesystem::remove_all(directory);
        throw;
    }
    std::filesystem::remove_all(directory);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseOptions(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\nusage: " << argv[0]
                  << " [--mivo-check PATH] [--reference PATH] [--counts 1000,10000]"
                     " [--split-write-counts 200] [--tls-counts 10000] [--repetitions 5]"
                     " [--delayed-counts 1000] [--delay-ms 10] [--delayed-repetitions 3]\n";
        return 64;
    }
    if ((!options.counts.empty() || !options.tlsCounts.empty() || !options.delayedCounts.empty()) &&
        DovecotServer::programPath().empty()) {
        std::cerr << "Dovecot is not installed (Debian package dovecot-pop3d)\n";
        return 1;
    }
    if (options.mivoCheck.empty()) {
        std::cout << "No mivo-check given (--mivo-check PATH): measuring the reference only.\n";
    }

    std::vector<Row> rows;
    HandshakeFigures handshakes;
    try {
        for (const int messages : options.counts) {
            measureDovecot(options, messages, rows);
        }
        for (const int messages : options.tlsCounts) {
            measureDovecotTls(options, messages, rows, handshakes);
        }
        for (const int messages : options.splitWriteCounts) {
            measureSplitWrite(options, messages, rows);
        }
        for (const int messages : options.delayedCounts) {
            measureDelayed(options, messages, rows);
        }
    } catch (const std::exception& error) {
        std::cerr << "\nbenchmark failed: " << error.what() << '\n';
        return 1;
    }
    mivo::bench::printTable(rows, options.repetitions);
    if (!options.delayedCounts.empty()) {
        std::cout << "(Dovecot+" << 2 * options.delayMilliseconds
                  << "ms: through the delaying proxy, " << options.delayedRepetitions << " runs)\n";
    }
    mivo::bench::printComparisons(rows);
    printHandshakes(handshakes);
    return 0;
}
