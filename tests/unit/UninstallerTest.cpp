// The uninstall window's steps on fake ports: when each runs, what each asks
// to remove, and that nothing the uninstaller removed is saved again.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FakeProgramPorts.h"
#include "app/Program.h"

namespace mivo {
namespace {

using Lights = std::vector<StepLight>;
constexpr StepLight W = StepLight::White;
constexpr StepLight Y = StepLight::Yellow;
constexpr StepLight G = StepLight::Green;

struct UninstallRun : test::FakeProgramPorts {
    explicit UninstallRun(std::string storedText) : program(ports(), {"uninstall"}) {
        timers.clock = &clock;
        settings.store(std::move(storedText));
        program.log().onAppend([this](std::string_view text) { log.emplace_back(text); });
        program.startUp();
        // What a step is doing, seen from inside its removals.
        model.Shape4.onChange([this] { shape4Changes.push_back(model.Shape4.get()); });
    }
    Lights lights() const {
        return {model.Shape1.get(), model.Shape2.get(), model.Shape3.get(), model.Shape4.get()};
    }
    void passTime(int milliseconds) {
        timers.passTime(clock, milliseconds, TimerId::UninstallStep);
    }

    Program program;
    UninstallWindowModel& model = program.uninstallWindow();
    std::vector<std::string> log;
    std::vector<StepLight> shape4Changes;
};

TEST(Uninstaller, StepsRunHalfASecondApartAndDoneAppearsAtThreeAndAHalfSeconds) {
    UninstallRun run("EXENAME=/opt/mivo/mivo\r\nversion=45\r\n");
    run.settings.path = "/opt/mivo/mivo";
    struct Tick {
        int atMilliseconds;
        Lights lights;
        std::size_t settingsRemovals;
        std::size_t removals;  // files and folders asked for so far
        bool done;
    };
    const std::vector<Tick> ticks = {
        {499, {W, W, W, W}, 0, 0, false},  {500, {W, W, W, W}, 0, 0, false},
        {1000, {W, W, W, W}, 0, 0, false}, {1500, {G, W, W, W}, 1, 0, false},
        {2000, {G, G, W, W}, 1, 4, false}, {2500, {G, G, G, W}, 1, 5, false},
        {3000, {G, G, G, G}, 1, 8, false}, {3499, {G, G, G, G}, 1, 8, false},
        {3500, {G, G, G, G}, 1, 8, true},  {10000, {G, G, G, G}, 1, 8, true},
    };
    int now = 0;
    for (const Tick& t : ticks) {
        SCOPED_TRACE(t.atMilliseconds);
        run.passTime(t.atMilliseconds - now);
        now = t.atMilliseconds;
        EXPECT_EQ(run.lights(), t.lights);
        EXPECT_EQ(run.settings.removals, static_cast<int>(t.settingsRemovals));
        EXPECT_EQ(run.installation.removals.size(), t.removals);
        EXPECT_EQ(run.model.DONEVisible.get(), t.done);
    }
    EXPECT_EQ(run.model.stepCounter, 20);
    // The light goes yellow before its step and green after it.
    EXPECT_EQ(run.shape4Changes, (std::vector<StepLight>{Y, G}));
    EXPECT_EQ(run.installation.removals,
              (std::vector<std::string>{
                  "file /home/u/.local/share/applications/Mivo/mivo.desktop",
                  "file /home/u/.local/share/applications/Mivo/mivo uninstaller.desktop",
                  "file /home/u/.local/share/applications/Mivo/mivo help.desktop",
                  "folder /home/u/.local/share/applications/Mivo",
                  "file /home/u/.config/autostart/mivo.desktop",
                  "file /opt/mivo/mivo",
                  "file /opt/mivo/mivo-check",
                  "folder /opt/mivo",
              }));
    // The steps add one line to the Log, the last step's, and then the
    // tray icon goes.
    ASSERT_GE(run.log.size(), 2U);
    EXPECT_EQ(run.log[run.log.size() - 2], "We UNINSTALL");
    EXPECT_EQ(run.log.back(), "removing icon as last step in uninstall.");
    EXPECT_EQ(run.ui.calls.back(), "remove tray icon");
}

TEST(Uninstaller, DoneEndsTheProgramAndNothingRemovedIsWrittenBack) {
    UninstallRun run("EXENAME=/usr/bin/mivo\r\nUN1=ann\r\nversion=45\r\n");
    run.passTime(3500);
    ASSERT_TRUE(run.model.DONEVisible.get());
    run.program.uninstallerBehaviour().DONEClick();
    EXPECT_TRUE(run.ui.terminated);
    // What the main window's deactivation and end would do.
    run.program.mainWindow().FormClick();
    run.program.saveSettings();
    EXPECT_TRUE(run.settings.writes.empty());
    EXPECT_EQ(run.settings.stored.state, StoredText::State::Absent);
}

// The removals asked for, with each run of icon files below one prefix told
// as their number.
std::vector<std::string> withIconsCounted(const std::vector<std::string>& removals) {
    const std::string icons = "/share/icons/hicolor/";
    std::vector<std::string> told;
    std::string prefix;
    int count = 0;
    for (const std::string& removal : removals) {
        const std::size_t at = removal.find(icons);
        if (at != std::string::npos && removal.ends_with("/apps/mivo.png")) {
            prefix = removal.substr(5, at - 5);
            ++count;
            continue;
        }
        if (count > 0) {
            told.push_back(std::to_string(count) + " icons below " + prefix);
            count = 0;
        }
        told.push_back(removal);
    }
    return told;
}

// The program folder is the running program's own, whichever copy last saved
// the settings (a build tree's, say). Never a cut at a dot. The manual pages
// and icons go where the folder is a prefix's bin.
TEST(Uninstaller, ProgramFilesComeFromTheRunningProgramsOwnFolder) {
    struct Case {
        const char* name;
        std::string storedText;
        std::optional<std::string> runningProgram;
        std::vector<std::string> removals;
    };
    const std::vector<Case> cases = {
        {"a dotted folder",
         "EXENAME=/home/u/.local/bin/mivo\r\n",
         "/home/u/.local/bin/mivo",
         {"file /home/u/.local/bin/mivo", "file /home/u/.local/bin/mivo-check",
          "file /home/u/.local/share/man/man1/mivo.1",
          "file /home/u/.local/share/man/man1/mivo-check.1", "7 icons below /home/u/.local",
          "folder /home/u/.local/bin"}},
        {"a build tree's copy saved the settings last",
         "EXENAME=/home/u/src/mivo/build/src/gui/mivo\r\n",
         "/usr/bin/mivo",
         {"file /usr/bin/mivo", "file /usr/bin/mivo-check", "file /usr/share/man/man1/mivo.1",
          "file /usr/share/man/man1/mivo-check.1", "7 icons below /usr", "folder /usr/bin"}},
        {"no EXENAME line",
         "UN1=ann\r\n",
         "/opt/mivo/bin/mivo",
         {"file /opt/mivo/bin/mivo", "file /opt/mivo/bin/mivo-check",
          "file /opt/mivo/share/man/man1/mivo.1", "file /opt/mivo/share/man/man1/mivo-check.1",
          "7 icons below /opt/mivo", "folder /opt/mivo/bin"}},
        {"not below a bin",
         "EXENAME=/usr/bin/mivo\r\n",
         "/opt/a=b/mivo",
         {"file /opt/a=b/mivo", "file /opt/a=b/mivo-check", "folder /opt/a=b"}},
        {"at the root", "", "/mivo", {"file /mivo", "file /mivo-check", "folder /"}},
        {"a bin at the root",
         "",
         "/bin/mivo",
         {"file /bin/mivo", "file /bin/mivo-check", "file /share/man/man1/mivo.1",
          "file /share/man/man1/mivo-check.1", "7 icons below ", "folder /bin"}},
        {"the running program unknown", "EXENAME=/usr/bin/mivo\r\n", std::nullopt, {}},
        {"the running program's path not absolute", "", "mivo", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeProgramPorts ports;
        ports.settings.path = c.runningProgram;
        ports.installation.data.reset();
        ports.installation.config.reset();
        Program program(ports.ports(), {"uninstall"});
        ports.settings.store(c.storedText);
        program.startUp();
        for (int tick = 0; tick < 6; ++tick) {
            ports.timers.tick(TimerId::UninstallStep);
        }
        EXPECT_EQ(withIconsCounted(ports.installation.removals), c.removals);
        EXPECT_EQ(program.uninstallWindow().Shape4.get(), StepLight::Green);
    }
}

// The seen mail goes with the settings, and nothing seen meanwhile is
// written back.
TEST(Uninstaller, TheSeenMailGoesWithTheSettings) {
    test::FakeProgramPorts ports;
    test::FakeState state;
    state.store("mivo-check state 1\nann\thost\t3\n");
    Program program(ports.ports(), {"uninstall"});
    ASSERT_FALSE(program.keepSeenMailIn(state));
    ports.settings.store("UN1=ann\r\nPO1=host\r\nversion=45\r\n");
    program.startUp();
    for (int tick = 0; tick < 2; ++tick) {
        ports.timers.tick(TimerId::UninstallStep);
    }
    EXPECT_EQ(state.removals, 0);
    ports.timers.tick(TimerId::UninstallStep);
    EXPECT_EQ(ports.settings.removals, 1);
    EXPECT_EQ(state.removals, 1);
    program.saveSeenMail();
    EXPECT_TRUE(state.writes.empty());
    EXPECT_EQ(state.stored.state, StoredText::State::Absent);
}

TEST(Uninstaller, WithoutAHomeTheMenuAndStartupStepsOnlyTurnTheirLights) {
    test::FakeProgramPorts ports;
    ports.installation.data.reset();
    ports.installation.config.reset();
    ports.settings.path.reset();
    Program program(ports.ports(), {"uninstall"});
    program.startUp();
    for (int tick = 0; tick < 7; ++tick) {
        ports.timers.tick(TimerId::UninstallStep);
    }
    EXPECT_TRUE(ports.installation.removals.empty());
    EXPECT_EQ(program.uninstallWindow().Shape2.get(), StepLight::Green);
    EXPECT_EQ(program.uninstallWindow().Shape3.get(), StepLight::Green);
    EXPECT_TRUE(program.uninstallWindow().DONEVisible.get());
}

TEST(Uninstaller, ANormalStartNeverRunsTheSteps) {
    test::FakeProgramPorts ports;
    Program program(ports.ports());
    ports.settings.store("EXENAME=/usr/bin/mivo\r\nversion=45\r\n");
    program.startUp();
    EXPECT_FALSE(ports.timers.timers[TimerId::UninstallStep].enabled);
    EXPECT_FALSE(ports.ui.isWindowVisible(WindowId::Uninstall));
}

}  // namespace
}  // namespace mivo
