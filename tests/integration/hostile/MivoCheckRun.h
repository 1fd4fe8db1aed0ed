#pragma once
// One run of the built mivo-check to its end, bounded by a deadline that
// only keeps a hung run from stalling the suite.

#include <chrono>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace mivo::test {

struct CheckRun {
    ChildExit exit;
    std::string output;
    std::string errors;
};

// `arguments` follow the program's name.
CheckRun runMivoCheck(const std::vector<std::string>& arguments, const ChildOptions& options = {},
                      std::chrono::seconds limit = std::chrono::seconds(30));

}  // namespace mivo::test
