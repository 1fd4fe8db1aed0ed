#include "MivoCheckRun.h"

#include <gtest/gtest.h>

#include <chrono>

namespace mivo::test {

CheckRun runMivoCheck(const std::vector<std::string>& arguments, const ChildOptions& options,
                      std::chrono::seconds limit) {
    std::vector<std::string> command{MIVO_CHECK_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess child(command, options);
    CheckRun run;
    run.exit = child.wait(ChildProcess::Clock::now() + limit);
    run.output = child.standardOutput();
    run.errors = child.standardError();
    EXPECT_FALSE(run.exit.timedOut) << "mivo-check did not end";
    return run;
}

}  // namespace mivo::test
