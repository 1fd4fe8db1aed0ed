// The taskbar button and the tray icon: when each is shown and removed, the
// tray icon's press, the 2-second step that takes a restored button away
// again, minimising, and the first activation of a program started minimised.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FakePorts.h"
#include "FakeProgramPorts.h"
#include "FakeSocketPort.h"
#include "app/Program.h"

namespace mivo {
namespace {

using Lines = std::vector<std::string>;

// A Program on fakes whose main window was created, and which the test
// starts on the stored settings it chooses.
struct Desktop : test::FakeProgramPorts {
    Desktop() {
        timers.clock = &clock;
        // What the window system tells the main window when it is minimised.
        ui.onMinimised = [this] { program.mainWindow().ApplicationMinimize(); };
        program.log().onAppend([this](std::string_view text) { log.emplace_back(text); });
        // The main window's creation step sets up the tray icon.
        program.mainWindow().FormCreate();
    }

    // Starts the program on a stored settings text holding `lines`.
    void startWith(const Lines& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        settings.store(text + "version=45\r\n");
        program.startUp();
    }

    // From here on the test sees only what happens next.
    void forget() {
        log.clear();
        ui.calls.clear();
    }

    bool timer3Running() { return timers.timers[TimerId::Timer3].enabled; }

    void pressTrayIcon(int identifier) {
        ASSERT_TRUE(ui.trayIconPressed);
        ui.trayIconPressed(identifier);
    }

    void passTime(std::int64_t milliseconds) {
        timers.passTime(clock, milliseconds, TimerId::Timer3);
    }

    Lines trayLog() const {
        Lines lines;
        for (const std::string& line : log) {
            if (line.find("tray icon") != std::string::npos) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    Program program{ports()};
    MainWindowModel& window = program.mainWindowModel();
    MainWindow& handlers = program.mainWindow();
    Lines log;
};

TEST(TaskbarPresence, StartingWithDefaultOptionsShowsTheTrayIconOnce) {
    Desktop d;
    d.program.startUp();  // no stored settings: both options on
    EXPECT_EQ(d.trayLog(), Lines{"showing tray icon"});
    EXPECT_EQ(d.ui.calls, Lines{"show tray icon 123 Mivo"});
    EXPECT_FALSE(d.timer3Running());
}

TEST(TaskbarPresence, StoredOptionsAreAppliedWhenLoaded) {
    struct Case {
        Lines stored;
        Lines calls;
        Lines trayLog;
        bool timer3;
    };
    // Each key holds the other option from the one its name says.
    const Case cases[] = {
        {{"Show_as_icon=YES", "Show_as_button=YES"},
         {"show tray icon 123 Mivo"},
         {"showing tray icon"},
         false},
        {{"Show_as_icon=NO", "Show_as_button=YES"},
         {"remove taskbar button", "show tray icon 123 Mivo"},
         {"showing tray icon"},
         true},
        {{"Show_as_icon=YES", "Show_as_button=NO"}, {}, {}, false},
        {{"Show_as_icon=NO", "Show_as_button=NO"}, {"remove taskbar button"}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored[0] + " " + c.stored[1]);
        Desktop d;
        d.startWith(c.stored);
        EXPECT_EQ(d.ui.calls, c.calls);
        EXPECT_EQ(d.trayLog(), c.trayLog);
        EXPECT_EQ(d.timer3Running(), c.timer3);
    }
}

TEST(TaskbarPresence, ApplyingActsOnlyOnWhatChangedSinceLastApplied) {
    struct Step {
        bool taskbarButton;
        bool trayIcon;
        Lines calls;
        Lines log;
        bool timer3;
    };
    // From the start: button shown, no icon.
    const Step steps[] = {
        {true, false, {}, {}, false},
        {true, true, {"show tray icon 123 Mivo"}, {"showing tray icon"}, false},
        {true, true, {}, {}, false},
        {false, true, {"remove taskbar button"}, {}, true},
        {false, false, {"remove tray icon"}, {"hideing tray icon"}, true},
        {true,
         true,
         {"show taskbar button", "show tray icon 123 Mivo"},
         {"showing tray icon"},
         false},
        {false, false, {"remove taskbar button", "remove tray icon"}, {"hideing tray icon"}, true},
    };
    Desktop d;
    int number = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(++number);
        d.forget();
        d.window.taskbarButton = step.taskbarButton;
        d.window.trayIcon = step.trayIcon;
        d.program.taskbarPresence().applyPresence();
        EXPECT_EQ(d.ui.calls, step.calls);
        EXPECT_EQ(d.log, step.log);
        EXPECT_EQ(d.timer3Running(), step.timer3);
    }
}

TEST(TaskbarPresence, TrayPressBringsTheProgramBackAndTheButtonGoesAgainWithinTwoSeconds) {
    Desktop d;
    d.startWith({"Show_as_icon=NO"});
    d.forget();
    // Loading removed the button; the 2-second step removes it once more,
    // as after every restore, and then has nothing left to do.
    d.passTime(2000);
    EXPECT_EQ(d.log, (Lines{"Timer3Timer called", "Timer3Timer removing app button"}));
    EXPECT_EQ(d.ui.calls, Lines{"remove taskbar button"});
    EXPECT_FALSE(d.timer3Running());

    d.forget();
    d.pressTrayIcon(TaskbarPresence::kTrayIconId);
    EXPECT_EQ(d.ui.calls, (Lines{"restore", "front"}));
    d.passTime(1999);
    EXPECT_TRUE(d.log.empty());
    d.passTime(1);
    EXPECT_EQ(d.log, (Lines{"Timer3Timer called", "Timer3Timer removing app button"}));
    EXPECT_EQ(d.ui.calls.back(), "remove taskbar button");
}

TEST(TaskbarPresence, OnlyTheProgramsOwnIconIsAnswered) {
    Desktop d;
    d.startWith({"Show_as_icon=NO"});
    d.passTime(2000);
    d.forget();
    for (int identifier : {0, 122, 124, -123}) {
        d.pressTrayIcon(identifier);
    }
    EXPECT_TRUE(d.ui.calls.empty());
    EXPECT_FALSE(d.timer3Running());
}

TEST(TaskbarPresence, WithTheButtonWantedTheTwoSecondStepNeverActs) {
    Desktop d;
    d.startWith({"Show_as_icon=YES"});
    d.forget();
    d.pressTrayIcon(TaskbarPresence::kTrayIconId);
    EXPECT_FALSE(d.timer3Running());
    d.handlers.Timer3Timer();  // a tick already under way
    d.handlers.ApplicationMinimize();
    EXPECT_TRUE(d.log.empty());
    EXPECT_EQ(d.ui.calls, (Lines{"restore", "front"}));
}

TEST(TaskbarPresence, MinimiseLeavesOnlyTheTrayIconAtOnceWhenNoButtonIsWanted) {
    struct Case {
        const char* storedButton;
        Lines calls;
        Lines log;
    };
    const Case cases[] = {
        {"Show_as_icon=NO",
         {"minimise", "remove taskbar button"},
         {"Timer3Timer called", "Timer3Timer removing app button", "Timer Activated!!"}},
        {"Show_as_icon=YES", {"minimise"}, {"Timer Activated!!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.storedButton);
        Desktop d;
        d.startWith({c.storedButton});
        // Twice: minimising again clears the removed flag, so the button is
        // taken away again whatever the window system did with it meanwhile.
        for (int time = 0; time < 2; ++time) {
            d.forget();
            d.handlers.Button1Click();
            EXPECT_EQ(d.ui.calls, c.calls);
            EXPECT_EQ(d.log, c.log);
            EXPECT_FALSE(d.timer3Running());
        }
    }
}

TEST(TaskbarPresence, ButtonTurnedOffInTheDialogGoesAtOnceAndAfterEveryRestore) {
    Desktop d;
    d.startWith({"Show_as_icon=YES", "Show_as_button=YES"});
    d.handlers.Button5Click();  // opens the advanced options
    d.program.advancedOptions().Taskbarbutton.set(false);
    d.forget();
    d.handlers.Button5Click();  // and closes them
    EXPECT_EQ(d.ui.calls, (Lines{"hide 2", "remove taskbar button"}));
    EXPECT_TRUE(d.timer3Running());

    d.forget();
    d.handlers.Button1Click();
    d.pressTrayIcon(TaskbarPresence::kTrayIconId);
    d.passTime(2000);
    EXPECT_EQ(d.ui.calls, (Lines{"minimise", "remove taskbar button", "restore", "front",
                                 "remove taskbar button"}));
    EXPECT_EQ(d.log,
              (Lines{"Timer3Timer called", "Timer3Timer removing app button", "Timer Activated!!",
                     "Timer3Timer called", "Timer3Timer removing app button"}));
}

TEST(TaskbarPresence, HidingAndClosingTheMainWindow) {
    struct Case {
        bool taskbarButton;
        bool trayIcon;
        Lines onHide;
        Lines onClose;
    };
    const Case cases[] = {
        {true, true, {"show taskbar button"}, {"remove tray icon"}},
        {false, false, {"remove taskbar button"}, {}},
    };
    for (const Case& c : cases) {
        Desktop d;
        d.window.taskbarButton = c.taskbarButton;
        d.window.trayIcon = c.trayIcon;
        d.handlers.FormHide();
        EXPECT_EQ(d.ui.calls, c.onHide);
        d.forget();
        d.handlers.FormClose();
        EXPECT_EQ(d.ui.calls, c.onClose);
        EXPECT_TRUE(d.log.empty());
    }
}

TEST(TaskbarPresence, FirstActivationOfAProgramStartedMinimised) {
    struct Case {
        Lines stored;
        Lines log;
        Lines calls;
    };
    const Case cases[] = {
        {{"StartMinimized=YES", "Show_as_icon=NO"},
         {"Timer2Timer", "minimizing Mivo", "Timer3Timer called",
          "Timer3Timer removing app button"},
         {"minimise", "remove taskbar button"}},
        {{"StartMinimized=YES", "Show_as_icon=YES"},
         {"Timer2Timer", "minimizing Mivo"},
         {"minimise"}},
        {{"StartMinimized=NO", "Show_as_icon=NO"}, {"Timer2Timer"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored[0] + " " + c.stored[1]);
        Desktop d;
        d.startWith(c.stored);
        d.handlers.FormActivate();
        d.forget();
        d.timers.tick(TimerId::Timer2);
        EXPECT_EQ(d.log, c.log);
        EXPECT_EQ(d.ui.calls, c.calls);
        EXPECT_FALSE(d.timers.timers[TimerId::Timer2].enabled);
    }
}

}  // namespace
}  // namespace mivo
