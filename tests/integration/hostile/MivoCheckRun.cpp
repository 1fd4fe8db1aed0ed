#include "MivoCheckRun.h"

#include <gtest/gtest.h>

#include <chrono>

namespace mivo::test {

namespace {

constexpr auto kRunLimit = std::chrono::seconds(30);

}  // namespace

CheckRun runMivoCheck(const std::vector<std::string>& arguments, const ChildOptions& options) {
    std::vector<std::string> command{MIVO_CHECK_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ChildProcess child(command, options);
    CheckRun run;
    run.exit = child.wait(ChildProcess::Clock::now() + kRunLimit);
    run.output = child.standardOutput();
    run.errors = child.standardError();
    EXPECT_FALSE(run.exit.timedOut) << "mivo-check did not end";
    return run;
}

}  // namespace mivo::test
