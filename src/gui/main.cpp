// The desktop program's entry: the application, the program on its Linux
// adapters, and the windows' life.

#include <QByteArray>
#include <QtGlobal>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Application.h"
#include "ProgramRun.h"
#include "QtUi.h"
#include "app/Program.h"
#include "posix/ArgumentBlanking.h"
#include "posix/PosixDownloads.h"
#include "posix/PosixProcesses.h"
#include "posix/PosixSocketPort.h"
#include "posix/SettingsFiles.h"
#include "posix/StateFile.h"
#include "posix/SystemClock.h"
#include "posix/SystemRandom.h"
#include "posix/UserInstallation.h"
#include "qt/QtTimers.h"
#include "tls/TlsSocketPort.h"

int main(int argc, char** argv) {
    // Any user can list the command line: a one-off account's password goes
    // from it first of all, before Qt and its plugins take their time.
    mivo::OneOffAccountArguments commandLine(argc, argv);
    // Through shared memory, every paint first waits for the X server to
    // answer that it has read the last one: a round trip that wakes the
    // program twice more on every clock tick. The window is small enough
    // that its paints cost less sent over the connection.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
    }
    mivo::Application app(commandLine.countForQt(), commandLine.vectorForQt());
    // What Qt left of the command line once it took its own options.
    std::vector<std::string> arguments = commandLine.remaining();
    try {
        mivo::SystemClock clock;
        mivo::QtTimers timers;
        mivo::TlsSocketPort sockets(std::make_unique<mivo::PosixSocketPort>(),
                                    mivo::TlsSocketPort::configurationFromEnvironment());
        mivo::SettingsFiles settings(mivo::SettingsFiles::desktopDirectory(),
                                     mivo::SettingsFiles::kLegacyFileName);
        mivo::SystemRandom random;
        mivo::PosixProcesses processes;
        mivo::UserInstallation installation;
        mivo::PosixDownloads downloads;
        mivo::StateFile seenMail(mivo::StateFile::desktopPath());
        mivo::QtUi ui(app);
        mivo::Program program(mivo::Ports{ui, clock, timers, sockets, settings, random, processes,
                                          installation, downloads},
                              std::move(arguments));
        // An unusable state is told in the Log, and the program goes on.
        program.keepSeenMailIn(seenMail);
        return mivo::runProgram(app, program, ui);
    } catch (const std::exception& error) {
        app.reportError(QString::fromStdString(error.what()));
    } catch (...) {
        app.reportError(QStringLiteral("Unknown error"));
    }
    return 0;
}
