// The desktop program's start-up, from building the program to its main
// window on screen, with no stored settings and with a full settings file
// (eight accounts with passwords, three rules with their actions). Runs on
// Qt's offscreen platform with the real Linux adapters and a settings
// directory of its own.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "Application.h"
#include "FakePorts.h"
#include "FakeSocketPort.h"
#include "ProgramWindows.h"
#include "QtUi.h"
#include "app/Program.h"
#include "posix/FileText.h"
#include "posix/PosixDownloads.h"
#include "posix/PosixProcesses.h"
#include "posix/PosixSocketPort.h"
#include "posix/SettingsFiles.h"
#include "posix/SystemClock.h"
#include "posix/SystemRandom.h"
#include "posix/UserInstallation.h"
#include "qt/QtTimers.h"

namespace mivo {
namespace {

Application* application = nullptr;

// The text a user with every account and rule filled in has stored.
std::string fullSettingsText() {
    test::FakeUi ui;
    test::FakeClock clock;
    test::FakeTimers timers;
    test::FakeSocketPort sockets;
    test::FakeSettings settings;
    SystemRandom random;
    test::FakeProcesses processes;
    test::FakeInstallation installation;
    test::FakeDownloads downloads;
    Program program(
        Ports{ui, clock, timers, sockets, settings, random, processes, installation, downloads});
    program.startUp();
    MainWindowModel& window = program.mainWindowModel();
    for (int account = 1; account <= kAccountCount; ++account) {
        const std::string number = std::to_string(account);
        window.accountUser(account).set("user" + number + "@example.org");
        window.accountPass(account).set("a fairly long pass phrase " + number);
        window.accountPop(account).set("127.0.0.1:" + std::to_string(1100 + account));
    }
    window.UseRule = true;
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        window.SBn[rule].itemIndex.set(rule + 2);
        window.En[rule].set("text of rule " + std::to_string(rule));
        window.DLn[rule].set(true);
        window.DELn[rule].set(rule == 3);
        window.RunFilen[rule].set("/usr/bin/process-mail --quiet %s");
    }
    window.EmailProgram.set("/usr/bin/mail-reader");
    program.saveSettings();
    return settings.stored.text;
}

enum class Stored { Nothing, EmptySettings, FullSettings };

void startUp(benchmark::State& state, Stored stored) {
    const QTemporaryDir directory;
    const std::string base = directory.path().toStdString();
    const std::string settingsPath = base + "/Settings";
    // An empty settings text is what a first save of untouched options
    // leaves: the same start as a new user's, but without the help window
    // a first start opens.
    const std::string text =
        stored == Stored::FullSettings ? fullSettingsText() : std::string("version=45\r\n");
    const bool withSettings = stored != Stored::Nothing;
    const auto prepare = [&] {
        if (withSettings) {
            replaceTextFile(settingsPath, text);
        } else {
            std::remove(settingsPath.c_str());
        }
    };
    prepare();
    for (auto _ : state) {
        auto clock = std::make_unique<SystemClock>();
        auto timers = std::make_unique<QtTimers>();
        auto sockets = std::make_unique<PosixSocketPort>();
        auto settings = std::make_unique<SettingsFiles>(base, base + "/mivo24.txt");
        auto random = std::make_unique<SystemRandom>();
        auto processes = std::make_unique<PosixProcesses>();
        auto installation = std::make_unique<UserInstallation>();
        auto downloads = std::make_unique<PosixDownloads>();
        auto ui = std::make_unique<QtUi>(*application);
        auto program =
            std::make_unique<Program>(Ports{*ui, *clock, *timers, *sockets, *settings, *random,
                                            *processes, *installation, *downloads});
        auto windows = std::make_unique<ProgramWindows>(*program, *ui, *application);
        windows->mainWindow().show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(windows->mainWindow().isVisible());

        state.PauseTiming();
        windows.reset();  // the end saves the settings
        program.reset();
        prepare();
        state.ResumeTiming();
    }
    state.counters["settings_bytes"] = withSettings ? static_cast<double>(text.size()) : 0;
}

BENCHMARK_CAPTURE(startUp, no_settings, Stored::Nothing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(startUp, empty_settings, Stored::EmptySettings)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(startUp, full_settings, Stored::FullSettings)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mivo

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    mivo::Application app(qtArgc, argv);
    mivo::application = &app;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
