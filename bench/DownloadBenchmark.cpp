// A message of many MiB downloaded by a rule: mivo-check with a rule that
// saves every message from "bench", beside the reference client fetching
// and writing the same message, from the same scripted server on loopback.
// Reports each run's throughput and each client's peak resident memory, at
// every size asked for, so that memory can be seen not to grow with the
// message.
//
//   mivo_download_benchmark [--mivo-check PATH] [--reference PATH]
//                           [--mib 10,100] [--repetitions 3]

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchmarkReport.h"
#include "ChildProcess.h"
#include "ScriptedServer.h"
#include "TemporaryDirectory.h"
#include "ports/RandomPort.h"
#include "settings/PasswordScrambling.h"

namespace {

namespace fs = std::filesystem;
using mivo::bench::median;
using mivo::bench::Sample;
using mivo::bench::sampleOf;
using mivo::test::ChildExit;
using mivo::test::ChildOptions;
using mivo::test::ChildProcess;
using mivo::test::ScriptedServer;
using mivo::test::TemporaryDirectory;

constexpr auto kRunLimit = std::chrono::minutes(10);
const char* const kUser = "bench";
const char* const kPassword = "bench-password";
// A line of a base64 attachment: 76 characters and CR LF.
const std::string kLine(76, 'Q');
const char* const kHeaderLines[] = {"From: bench <bench@example.org>",
                                    "Subject: a large attachment", ""};

struct Options {
    std::string mivoCheck;
    std::string reference;
    std::vector<int> sizes{10, 100};  // MiB
    int repetitions = 3;
};

struct Row {
    int mebibytes;
    std::string client;
    Sample median;
};

// Any bytes will do: the password only has to read back as itself.
class CountingRandom : public mivo::RandomPort {
public:
    std::uint8_t nextByte() override { return m_next++; }

private:
    std::uint8_t m_next = 7;
};

// The body lines of a message of about `mebibytes` MiB on the wire.
std::size_t bodyLinesFor(int mebibytes) {
    return static_cast<std::size_t>(mebibytes) * 1024 * 1024 / (kLine.size() + 2);
}

std::string headersWith(const char* lineEnd) {
    std::string headers;
    for (const char* line : kHeaderLines) {
        headers.append(line).append(lineEnd);
    }
    return headers;
}

// What both clients write: the message, every line with an LF.
std::uintmax_t savedSize(int mebibytes) {
    return headersWith("\n").size() + bodyLinesFor(mebibytes) * (kLine.size() + 1);
}

// One connection's conversation, played again for every connection.
void scriptMailbox(ScriptedServer& server, int mebibytes) {
    server.send("+OK ready\r\n")
        .expectLine(std::string("USER ") + kUser)
        .send("+OK\r\n")
        .expectLine(std::string("PASS ") + kPassword)
        .send("+OK\r\n")
        .expectLine("STAT")
        .send("+OK 1 " + std::to_string(bodyLinesFor(mebibytes) * (kLine.size() + 2)) + "\r\n")
        .expectLine("UIDL")
        .send("-ERR unknown command\r\n")
        .expectLine("TOP 1 0")
        .send("+OK\r\n" + headersWith("\r\n") + ".\r\n")
        .expectLine("RETR 1")
        .send("+OK\r\n" + headersWith("\r\n"))
        .sendRepeated(kLine + "\r\n", bodyLinesFor(mebibytes))
        .send(".\r\n")
        .expectLine("QUIT")
        .send("+OK bye\r\n")
        .close();
}

Sample runChild(const std::vector<std::string>& command, ChildOptions options,
                const fs::path& saved, int mebibytes) {
    options.measurePeakMemory = true;
    ChildProcess child(command, options);
    const ChildExit exit = child.wait(ChildProcess::Clock::now() + kRunLimit);
    const std::uintmax_t size = fs::exists(saved) ? fs::file_size(saved) : 0;
    fs::remove(saved);
    if (exit.timedOut || size != savedSize(mebibytes)) {
        throw std::runtime_error(command.front() + " did not save the message (" + exit.describe() +
                                 ", " + std::to_string(size) +
                                 " bytes): " + child.standardError().substr(0, 2000));
    }
    return sampleOf(exit);
}

Sample runReference(const Options& options, const std::string& host, const fs::path& directory,
                    int mebibytes) {
    const fs::path saved = directory / "reference.txt";
    return runChild({options.reference, "--download", saved.string(), kUser, kPassword, host}, {},
                    saved, mebibytes);
}

Sample runMivoCheck(const Options& options, const std::string& host, const fs::path& directory,
                    int mebibytes) {
    // Written again for every run: each run saves the settings it ends with.
    const fs::path mail = directory / "mail";
    fs::create_directories(mail);
    CountingRandom random;
    mivo::test::writeWholeFile(
        directory / "Settings",
        "version=45\r\nTimeInterval=1\r\nS4=NO\r\nUN1=" + std::string(kUser) +
            "\r\nPW1=" + mivo::scramblePassword(kPassword, random).value() + "\r\nPO1=" + host +
            "\r\nRULES=Use Rules\r\nRULEindex1=3\r\nRULEstr1=bench\r\nDL1=YES\r\nTEMPDIR=" +
            mail.string() + "\r\n");
    // Files, not pipes: the Log is small here, but nothing is to compete
    // with the run being measured.
    ChildOptions childOptions;
    childOptions.standardOutputFile = "/dev/null";
    childOptions.standardErrorFile = "/dev/null";
    return runChild({options.mivoCheck, "--config", directory.string()}, childOptions,
                    mail / "Mivo0.txt", mebibytes);
}

void measure(const Options& options, int mebibytes, std::vector<Row>& rows) {
    TemporaryDirectory directory;
    ScriptedServer server;
    scriptMailbox(server, mebibytes);
    server.start();
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    std::vector<Sample> reference;
    std::vector<Sample> mivo;
    for (int run = 0; run < options.repetitions; ++run) {
        reference.push_back(runReference(options, host, directory.path(), mebibytes));
        if (!options.mivoCheck.empty()) {
            mivo.push_back(runMivoCheck(options, host, directory.path(), mebibytes));
        }
        std::cerr << "." << std::flush;
    }
    std::cerr << '\n';
    if (!server.failures().empty()) {
        throw std::runtime_error("the server saw: " + server.failures().front());
    }
    rows.push_back({mebibytes, "reference", median(reference)});
    if (!mivo.empty()) {
        rows.push_back({mebibytes, "mivo-check", median(mivo)});
    }
}

void printRows(const std::vector<Row>& rows, int repetitions) {
    std::cout << "\nMedian of " << repetitions << " runs\n\n"
              << "| MiB | client | wall s | MiB/s | peak RSS KiB |\n"
              << "|---:|---|---:|---:|---:|\n"
              << std::fixed;
    for (const Row& row : rows) {
        const double wallSeconds = row.median.wallMilliseconds / 1000.0;
        std::cout << "| " << row.mebibytes << " | " << row.client << " | " << std::setprecision(3)
                  << wallSeconds << " | " << std::setprecision(1) << row.mebibytes / wallSeconds
                  << " | " << row.median.peakKibibytes << " |\n";
    }
    std::cout << '\n' << std::setprecision(2);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        if (rows[i].client == "reference" && rows[i + 1].client == "mivo-check") {
            std::cout << rows[i].mebibytes << " MiB: mivo-check / reference wall "
                      << rows[i + 1].median.wallMilliseconds / rows[i].median.wallMilliseconds
                      << "x\n";
        }
    }
}

std::vector<int> parseSizes(const std::string& text) {
    std::vector<int> sizes;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        const int size = std::stoi(item);
        if (size < 1) {
            throw std::invalid_argument("sizes are whole MiB, at least 1");
        }
        sizes.push_back(size);
    }
    return sizes;
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
        } else if (option == "--mib") {
            options.sizes = parseSizes(value);
        } else if (option == "--repetitions") {
            options.repetitions = std::max(1, std::stoi(value));
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    if (options.reference.empty()) {
        throw std::invalid_argument("no reference client: give --reference PATH");
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseOptions(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\nusage: " << argv[0]
                  << " [--mivo-check PATH] [--reference PATH] [--mib 10,100]"
                     " [--repetitions 3]\n";
        return 64;
    }
    if (options.mivoCheck.empty()) {
        std::cout << "No mivo-check given (--mivo-check PATH): measuring the reference only.\n";
    }
    std::vector<Row> rows;
    try {
        for (const int mebibytes : options.sizes) {
            measure(options, mebibytes, rows);
        }
    } catch (const std::exception& error) {
        std::cerr << "\nbenchmark failed: " << error.what() << '\n';
        return 1;
    }
    printRows(rows, options.repetitions);
    return 0;
}
