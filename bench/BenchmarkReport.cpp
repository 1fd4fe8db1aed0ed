#include "BenchmarkReport.h"

#include <algorithm>
#include <chrono>
#include <iomanip>
#include <iostream>
#include <map>

namespace mivo::bench {

namespace {

double milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

using Figures = std::map<std::string, std::map<std::string, std::map<int, Sample>>>;

double microsecondsPerMessage(const Sample& sample, int messages) {
    return sample.wallMilliseconds * 1000.0 / messages;
}

void printRatios(const Figures& figures) {
    for (const auto& [server, byClient] : figures) {
        const auto mivo = byClient.find("mivo-check");
        const auto reference = byClient.find("reference");
        if (mivo == byClient.end() || reference == byClient.end()) {
            continue;
        }
        for (const auto& [messages, sample] : mivo->second) {
            const Sample& lockStep = reference->second.at(messages);
            std::cout << server << ", " << messages << " messages: mivo-check / reference wall "
                      << sample.wallMilliseconds / lockStep.wallMilliseconds << "x, CPU "
                      << sample.cpuMilliseconds / lockStep.cpuMilliseconds << "x\n";
        }
    }
}

void printGrowth(const Figures& figures) {
    for (const auto& [server, byClient] : figures) {
        for (const auto& [client, byCount] : byClient) {
            if (byCount.size() < 2) {
                continue;
            }
            const auto& [fewest, small] = *byCount.begin();
            const auto& [most, large] = *byCount.rbegin();
            const double costSmall = microsecondsPerMessage(small, fewest);
            const double costLarge = microsecondsPerMessage(large, most);
            std::cout << server << ", " << client << " wall time per message at " << most << " vs "
                      << fewest << " messages: " << costLarge / costSmall << "x ("
                      << std::setprecision(1) << costLarge << " vs " << costSmall << " us)"
                      << std::setprecision(2) << '\n';
        }
    }
}

// What the split-write server's way of answering costs each client per
// message, beside what the same client pays Dovecot.
void printSplitWriteCost(const Figures& figures) {
    const auto split = figures.find(kSplitWrite);
    const auto dovecot = figures.find(kDovecot);
    if (split == figures.end()) {
        return;
    }
    std::cout << std::setprecision(1);
    for (const auto& [client, byCount] : split->second) {
        for (const auto& [messages, sample] : byCount) {
            std::cout << client << " wall time per message, split-write server (" << messages
                      << " messages): " << microsecondsPerMessage(sample, messages) << " us";
            if (dovecot != figures.end() && dovecot->second.count(client) != 0) {
                const auto& [fewest, small] = *dovecot->second.at(client).begin();
                std::cout << "; Dovecot (" << fewest
                          << " messages): " << microsecondsPerMessage(small, fewest) << " us";
            }
            std::cout << '\n';
        }
    }
    std::cout << std::setprecision(2);
}

}  // namespace

Sample sampleOf(const mivo::test::ChildExit& exit) {
    Sample sample;
    sample.wallMilliseconds = std::chrono::duration<double, std::milli>(exit.wallTime).count();
    sample.cpuMilliseconds = milliseconds(exit.usage.ru_utime) + milliseconds(exit.usage.ru_stime);
    // ru_maxrss of a spawned child starts at the runner's own peak, so it is
    // only the fall-back when the child's exit could not be watched.
    sample.peakKibibytes = exit.peakKibibytes >= 0 ? exit.peakKibibytes : exit.usage.ru_maxrss;
    return sample;
}

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

void printTable(const std::vector<Row>& rows, int repetitions) {
    std::cout << "\nOne check of one mailbox, all messages new; median of " << repetitions
              << " runs\n\n";
    std::cout << std::left << std::setw(13) << "server" << std::setw(10) << "messages"
              << std::setw(12) << "client" << std::right << std::setw(11) << "wall ms"
              << std::setw(11) << "CPU ms" << std::setw(15) << "peak RSS KiB" << std::setw(15)
              << "wall us/msg" << '\n';
    for (const Row& row : rows) {
        std::cout << std::left << std::setw(13) << row.server << std::setw(10) << row.messages
                  << std::setw(12) << row.client << std::right << std::fixed << std::setprecision(1)
                  << std::setw(11) << row.median.wallMilliseconds << std::setw(11)
                  << row.median.cpuMilliseconds << std::setw(15) << row.median.peakKibibytes
                  << std::setw(15) << row.median.wallMilliseconds * 1000.0 / row.messages << '\n';
    }
}

void printComparisons(const std::vector<Row>& rows) {
    Figures figures;
    for (const Row& row : rows) {
        figures[row.server][row.client][row.messages] = row.median;
    }
    std::cout << std::fixed << std::setprecision(2) << '\n';
    printRatios(figures);
    printGrowth(figures);
    printSplitWriteCost(figures);
}

}  // namespace mivo::bench
