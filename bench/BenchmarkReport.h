#pragma once
// The figures of the benchmarks: one run's sample from its child's exit,
// medians of the runs, and the end-to-end benchmark's table and the
// comparisons printed from them.

#include <string>
#include <vector>

#include "ChildProcess.h"

namespace mivo::bench {

inline const char* const kDovecot = "Dovecot";
inline const char* const kSplitWrite = "split-write";

struct Sample {
    double wallMilliseconds = 0;
    double cpuMilliseconds = 0;
    long peakKibibytes = 0;
};

// Wall time, CPU time and peak memory of one run of a child program.
Sample sampleOf(const mivo::test::ChildExit& exit);

// Each figure's own median: a run slow in wall time need not be the one
// that used the most memory.
Sample median(std::vector<Sample> samples);

struct Row {
    std::string server;
    int messages;
    std::string client;
    Sample median;
};

void printTable(const std::vector<Row>& rows, int repetitions);
// mivo-check against the reference, the growth of the cost per message, and
// what the split-write server costs beside Dovecot.
void printComparisons(const std::vector<Row>& rows);

}  // namespace mivo::bench
