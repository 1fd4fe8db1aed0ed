// One whole check of a full mailbox by mivo-check and by the lock-step
// reference client: wall time, CPU time and peak memory, and how the cost per
// message holds up as the mailbox grows. The mailbox is served by a private
// Dovecot server and by the split-write server, which answers in small writes
// with Nagle on and so shows what a delayed acknowledgement costs a client.
//
//   mivo_end_to_end_benchmark [--mivo-check PATH] [--reference PATH]
//                             [--counts 1000,10000] [--split-write-counts 200]
//                             [--repetitions 5]

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
#include "DovecotServer.h"
#include "SplitWritePop3Server.h"

namespace {

using mivo::bench::kDovecot;
using mivo::bench::kSplitWrite;
using mivo::bench::median;
using mivo::bench::Row;
using mivo::bench::Sample;
using mivo::bench::SplitWritePop3Server;
using mivo::test::ChildExit;
using mivo::test::ChildOptions;
using mivo::test::ChildProcess;
using mivo::test::DovecotServer;

constexpr auto kRunLimit = std::chrono::minutes(10);
const char* const kUser = "bench";
const char* const kPassword = "bench-password";

struct Options {
    std::string mivoCheck;
    std::string reference;
    std::vector<int> counts{1000, 10000};
    std::vector<int> splitWriteCounts{200};
    int repetitions = 5;
};

// Where one server's runs keep their settings and output.
struct Target {
    std::string hostAndPort;
    std::filesystem::path directory;
};

double milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

Sample sampleOf(const ChildExit& exit) {
    Sample sample;
    sample.wallMilliseconds = std::chrono::duration<double, std::milli>(exit.wallTime).count();
    sample.cpuMilliseconds = milliseconds(exit.usage.ru_utime) + milliseconds(exit.usage.ru_stime);
    // ru_maxrss of a spawned child starts at the runner's own peak, so it is
    // only the fall-back when the child's exit could not be watched.
    sample.peakKibibytes = exit.peakKibibytes >= 0 ? exit.peakKibibytes : exit.usage.ru_maxrss;
    return sample;
}

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

Sample runReference(const Options& options, const Target& server, int messages) {
    ChildOptions childOptions;
    childOptions.measurePeakMemory = true;
    ChildProcess child({options.reference, kUser, kPassword, server.hostAndPort}, childOptions);
    const ChildExit exit = runChecked(child, "the reference client");
    if (exit.exitCode != 0 || std::atoi(child.standardOutput().c_str()) != messages) {
        throw std::runtime_error("the reference client failed (" + exit.describe() +
                                 "): " + child.standardOutput() + child.standardError());
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

Sample runMivoCheck(const Options& options, const Target& server, int messages, int run) {
    // A settings directory of its own: every run starts knowing no message.
    const std::filesystem::path config = server.directory / ("config-" + std::to_string(run));
    std::filesystem::create_directories(config);
    // Files, not pipes: draining 10000 messages' worth of Log through this
    // process would compete with the run being measured.
    ChildOptions childOptions;
    childOptions.standardOutputFile = (server.directory / "mivo-check.out").string();
    childOptions.standardErrorFile = (server.directory / "mivo-check.err").string();
    childOptions.environment = {{"XDG_CONFIG_HOME", config.string()}};
    childOptions.measurePeakMemory = true;
    std::filesystem::remove(childOptions.standardOutputFile);
    std::filesystem::remove(childOptions.standardErrorFile);

    ChildProcess child({options.mivoCheck, "--interval", "1", "--cycles", "1", "--account", kUser,
                        kPassword, server.hostAndPort},
                       childOptions);
    const ChildExit exit = runChecked(child, "mivo-check");
    const int listed = countSummaryLines(readFile(childOptions.standardOutputFile));
    if (exit.exitCode != 0 || listed != messages) {
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
        } else if (option == "--split-write-counts") {
            options.splitWriteCounts = parseCounts(value);
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

// The measured runs, both clients taking turns, after a warm-up run when
// the server has something to warm up.
void measure(const Options& options, const std::string& serverName, const Target& server,
             int messages, bool warmUp, std::vector<Row>& rows) {
    if (warmUp) {
        runReference(options, server, messages);
    }
    std::vector<Sample> reference;
    std::vector<Sample> mivo;
    for (int run = 1; run <= options.repetitions; ++run) {
        reference.push_back(runReference(options, server, messages));
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
    measure(options, kDovecot, {server.hostAndPort(), server.directory()}, messages, true, rows);
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
        measure(options, kSplitWrite, {server.hostAndPort(), directory}, messages, false, rows);
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
                     " [--split-write-counts 200] [--repetitions 5]\n";
        return 64;
    }
    if (!options.counts.empty() && DovecotServer::programPath().empty()) {
        std::cerr << "Dovecot is not installed (Debian package dovecot-pop3d)\n";
        return 1;
    }
    if (options.mivoCheck.empty()) {
        std::cout << "No mivo-check given (--mivo-check PATH): measuring the reference only.\n";
    }

    std::vector<Row> rows;
    try {
        for (const int messages : options.counts) {
            measureDovecot(options, messages, rows);
        }
        for (const int messages : options.splitWriteCounts) {
            measureSplitWrite(options, messages, rows);
        }
    } catch (const std::exception& error) {
        std::cerr << "\nbenchmark failed: " << error.what() << '\n';
        return 1;
    }
    mivo::bench::printTable(rows, options.repetitions);
    mivo::bench::printComparisons(rows);
    return 0;
}
