// One whole check of a full mailbox on a private Dovecot server, by mivo-check
// and by the lock-step reference client: wall time, CPU time and peak memory,
// and how the cost per message holds up as the mailbox grows.
//
//   mivo_end_to_end_benchmark [--mivo-check PATH] [--reference PATH]
//                             [--counts 1000,10000] [--repetitions 5]

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "DovecotServer.h"

namespace {

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
    int repetitions = 5;
};

struct Sample {
    double wallMilliseconds = 0;
    double cpuMilliseconds = 0;
    long peakKibibytes = 0;
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

// Each figure's own median: a run slow in wall time need not be the one
// that used the most memory.
Sample median(std::vector<Sample> samples) {
    auto middle = [&](auto field) {
        std::sort(samples.begin(), samples.end(),
                  [&](const Sample& a, const Sample& b) { return a.*field < b.*field; });
        return samples[samples.size() / 2].*field;
    };
    Sample result;
    result.wallMilliseconds = middle(&Sample::wallMilliseconds);
    result.cpuMilliseconds = middle(&Sample::cpuMilliseconds);
    result.peakKibibytes = middle(&Sample::peakKibibytes);
    return result;
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

Sample runReference(const Options& options, const DovecotServer& server, int messages) {
    ChildOptions childOptions;
    childOptions.measurePeakMemory = true;
    ChildProcess child({options.reference, kUser, kPassword, server.hostAndPort()}, childOptions);
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

Sample runMivoCheck(const Options& options, const DovecotServer& server, int messages, int run) {
    // A settings directory of its own: every run starts knowing no message.
    const std::filesystem::path config = server.directory() / ("config-" + std::to_string(run));
    std::filesystem::create_directories(config);
    // Files, not pipes: draining 10000 messages' worth of Log through this
    // process would compete with the run being measured.
    ChildOptions childOptions;
    childOptions.standardOutputFile = (server.directory() / "mivo-check.out").string();
    childOptions.standardErrorFile = (server.directory() / "mivo-check.err").string();
    childOptions.environment = {{"XDG_CONFIG_HOME", config.string()}};
    childOptions.measurePeakMemory = true;
    std::filesystem::remove(childOptions.standardOutputFile);
    std::filesystem::remove(childOptions.standardErrorFile);

    ChildProcess child({options.mivoCheck, "--interval", "1", "--config", config.string(),
                        "--account", kUser, kPassword, server.hostAndPort()},
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

struct Row {
    int messages;
    std::string client;
    Sample median;
};

void printTable(const std::vector<Row>& rows, int repetitions) {
    std::cout << "\nOne check of one mailbox, all messages new; median of " << repetitions
              << " runs\n\n";
    std::cout << std::left << std::setw(10) << "messages" << std::setw(12) << "client" << std::right
              << std::setw(11) << "wall ms" << std::setw(11) << "CPU ms" << std::setw(15)
              << "peak RSS KiB" << std::setw(15) << "wall us/msg" << '\n';
    for (const Row& row : rows) {
        std::cout << std::left << std::setw(10) << row.messages << std::setw(12) << row.client
                  << std::right << std::fixed << std::setprecision(1) << std::setw(11)
                  << row.median.wallMilliseconds << std::setw(11) << row.median.cpuMilliseconds
                  << std::setw(15) << row.median.peakKibibytes << std::setw(15)
                  << row.median.wallMilliseconds * 1000.0 / row.messages << '\n';
    }
}

void printComparisons(const std::vector<Row>& rows) {
    std::map<std::string, std::map<int, Sample>> byClient;
    for (const Row& row : rows) {
        byClient[row.client][row.messages] = row.median;
    }
    std::cout << std::fixed << std::setprecision(2) << '\n';
    if (byClient.count("mivo-check") != 0) {
        for (const auto& [messages, mivo] : byClient["mivo-check"]) {
            const Sample& reference = byClient["reference"][messages];
            std::cout << "mivo-check / reference wall time at " << messages
                      << " messages: " << mivo.wallMilliseconds / reference.wallMilliseconds
                      << "x\n";
        }
    }
    for (const auto& [client, figures] : byClient) {
        if (figures.size() < 2) {
            continue;
        }
        const auto& [fewest, small] = *figures.begin();
        const auto& [most, large] = *figures.rbegin();
        const double costSmall = small.wallMilliseconds / fewest;
        const double costLarge = large.wallMilliseconds / most;
        std::cout << client << " wall time per message at " << most << " vs " << fewest
                  << " messages: " << costLarge / costSmall << "x (" << std::setprecision(1)
                  << costLarge * 1000.0 << " vs " << costSmall * 1000.0 << " us)"
                  << std::setprecision(2) << '\n';
    }
}

std::vector<int> parseCounts(const std::string& text) {
    std::vector<int> counts;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        const int count = std::stoi(item);
        if (count < 1) {
            throw std::invalid_argument("message counts must be positive");
        }
        counts.push_back(count);
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
                  << " [--mivo-check PATH] [--reference PATH] [--counts 1000,10000]"
                     " [--repetitions 5]\n";
        return 64;
    }
    if (DovecotServer::programPath().empty()) {
        std::cerr << "Dovecot is not installed (Debian package dovecot-pop3d)\n";
        return 1;
    }
    if (options.mivoCheck.empty()) {
        std::cout << "No mivo-check given (--mivo-check PATH): measuring the reference only.\n";
    }

    std::vector<Row> rows;
    try {
        for (const int messages : options.counts) {
            DovecotServer server;
            server.addUser(kUser, kPassword);
            server.deliverMany(kUser, messages);
            server.start();
            // The server builds its index on the first visit; no client pays for that.
            runReference(options, server, messages);

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
            rows.push_back({messages, "reference", median(reference)});
            if (!mivo.empty()) {
                rows.push_back({messages, "mivo-check", median(mivo)});
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "\nbenchmark failed: " << error.what() << '\n';
        return 1;
    }
    printTable(rows, options.repetitions);
    printComparisons(rows);
    return 0;
}
