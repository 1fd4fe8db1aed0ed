// mivo-check: the mail check of Mivo from the console.

#include <QCoreApplication>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ConsoleCheckRun.h"
#include "console/CheckCommandLine.h"
#include "console/TerminalText.h"
#include "identity/Version.h"
#include "posix/ArgumentBlanking.h"

namespace {

constexpr int kUsageError = 64;

// Standard error belongs to the captions; Qt's own diagnostics would mix
// into them.
void dropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char** argv) {
    // Other users can list a process's command line: the passwords in it are
    // blanked before anything else is done, from the program's own copy.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    mivo::CheckCommandLine options;
    const auto error = mivo::parseCheckCommandLine(arguments, options);
    for (const std::size_t position : options.passwordArguments) {
        mivo::blankArgument(argv[position + 1]);
    }
    if (error) {
        std::fprintf(stderr, "mivo-check: %s\n%s", error->message.c_str(), mivo::kCheckUsage);
        return kUsageError;
    }
    switch (options.action) {
        case mivo::CheckCommandLine::Action::Help:
            std::fputs(mivo::kCheckUsage, stdout);
            return 0;
        case mivo::CheckCommandLine::Action::Version:
            std::printf("mivo-check %s\n", mivo::kVersionText);
            return 0;
        case mivo::CheckCommandLine::Action::Check:
            break;
    }
    qInstallMessageHandler(dropQtMessages);
    QCoreApplication application(argc, argv);
    int status = 0;
    std::optional<int> stoppedBy;
    {
        mivo::ConsoleCheckRun run(options);
        if (const auto failure = run.prepare()) {
            std::fprintf(stderr, "mivo-check: %s\n", mivo::terminalSafe(*failure).c_str());
            return kUsageError;
        }
        status = run.exec();
        stoppedBy = run.stoppedBy();
    }
    if (stoppedBy) {
        // Saved what it keeps; now end as the signal asked, so that the
        // shell or service manager that sent it sees it did.
        std::signal(*stoppedBy, SIG_DFL);
        std::raise(*stoppedBy);
    }
    return status;
}
