#pragma once
// The whole program's windows on fake clock, timers and sockets, for tests
// that drive them through their widgets.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "FakePorts.h"
#include "FakeSocketPort.h"
#include "ProgramWindows.h"
#include "QtUi.h"
#include "app/Program.h"

// Test failures show a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mivo::test {

inline Application& application() {
    return *qobject_cast<Application*>(QCoreApplication::instance());
}

// The program without its windows: what runProgram is given.
struct ProgramParts {
    // `arguments`: the command line the start-up decision sees.
    explicit ProgramParts(std::vector<std::string> arguments = {})
        : program(Ports{ui, clock, timers, sockets, settings, random, processes, installation,
                        downloads},
                  std::move(arguments)) {}

    FakeClock clock;
    FakeTimers timers;
    FakeSocketPort sockets;  // the test plays the server
    FakeSettings settings;
    FakeRandom random;
    FakeProcesses processes;
    FakeInstallation installation;
    FakeDownloads downloads;
    QtUi ui{application()};
    Program program;
    std::vector<std::string> created;
    std::vector<std::string> destroyed;

    ProgramWindows::Observers recorders() {
        return {[this](const char* name) { created.emplace_back(name); },
                [this](const char* name) { destroyed.emplace_back(name); }};
    }
};

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        windows = std::make_unique<ProgramWindows>(parts.program, parts.ui, application(),
                                                   parts.recorders());
    }
    void TearDown() override {
        windows.reset();
        application().setErrorReporter({});
    }

    TUbo& ubo() { return windows->mainWindow(); }
    MainWindowModel& model() { return parts.program.mainWindowModel(); }

    template <typename Control>
    Control& control(const char* name) {
        Control* found = ubo().findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *found;
    }

    ProgramParts parts;
    std::unique_ptr<ProgramWindows> windows;
};

// Where the tests leave pictures of the windows for a person to look at.
inline QString screenshotPath(const char* fileName) {
    const QString directory = QStringLiteral(MIVO_SCREENSHOT_DIR);
    QDir().mkpath(directory);
    return directory + QLatin1Char('/') + QString::fromLatin1(fileName);
}

}  // namespace mivo::test
