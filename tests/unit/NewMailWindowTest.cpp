// The new-mail window's behaviour on its own and as the end of a check
// brings it up: refresh and show steps, the animation, Done and the close
// box, "Launch Email".

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;
using test::Mailbox;
using Lines = std::vector<std::string>;

class NewMailWindowTest : public CheckFixture {
protected:
    NewMailWindow& behaviour() { return program.newMailWindowBehaviour(); }
    NewMailWindowModel& model() { return program.newMailWindow(); }
    bool animating() { return timers.timers[TimerId::NewMailAnimation].enabled; }
    void animationTick() { timers.tick(TimerId::NewMailAnimation); }
    // Whether `lines` follow one another somewhere in the Log.
    bool loggedInOrder(const Lines& lines) const {
        return std::search(logLines.begin(), logLines.end(), lines.begin(), lines.end()) !=
               logLines.end();
    }
    // One check of account 1 that finds `subjects` as new mail.
    void checkFinding(const std::vector<std::string>& subjects) {
        Mailbox box;
        box.stat = "+OK " + std::to_string(cycle.lastNumKnown[1] + subjects.size()) + " 9";
        for (int known = 0; known < cycle.lastNumKnown[1]; ++known) {
            box.headers.push_back("Subject: seen\r\n");
        }
        for (const std::string& subject : subjects) {
            box.headers.push_back("From: ann\r\nSubject: " + subject + "\r\n");
        }
        checkNow();
        serve(box);
    }
    static std::string summaryOf(const std::vector<std::string>& subjects) {
        std::string summary = "    bob@127.0.0.1  Wed Jan 03 09:05:07 2001\r\n";
        for (const std::string& subject : subjects) {
            summary += "ann\t" + subject + "\r\n";
        }
        return summary;
    }
};

TEST_F(NewMailWindowTest, TheEndOfACheckShowsTheListThenLetsItGrowWhileOnScreen) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    cycle.urgent = true;
    checkFinding({"one", "two"});
    EXPECT_TRUE(window.NewMailOpen);
    EXPECT_EQ(model().Memo1.get(), summaryOf({"one", "two"}));
    EXPECT_EQ(ui.calls, (Lines{"front", "front", "show 4", "show 5"}));
    EXPECT_TRUE(animating());
    EXPECT_TRUE(timers.timers[TimerId::UrgentNoticeStripes].enabled);
    EXPECT_FALSE(cycle.urgent);

    // On screen: the list grows, nothing comes up, and an urgent message
    // waits for the window's next showing.
    ui.calls.clear();
    cycle.urgent = true;
    checkFinding({"three"});
    EXPECT_EQ(model().Memo1.get(), summaryOf({"one", "two"}) + summaryOf({"three"}));
    EXPECT_EQ(ui.calls, Lines{"front"});
    EXPECT_TRUE(cycle.urgent);

    // Done: the next check's list stands alone.
    behaviour().DoneClick();
    EXPECT_FALSE(window.NewMailOpen);
    EXPECT_FALSE(animating());
    EXPECT_EQ(accounts.Memon[1].get(), "");
    ui.calls.clear();
    checkFinding({"four"});
    EXPECT_EQ(model().Memo1.get(), summaryOf({"four"}));
    EXPECT_EQ(ui.calls, (Lines{"front", "front", "show 4", "show 5"}));
    EXPECT_FALSE(cycle.urgent);
}

TEST_F(NewMailWindowTest, TheCloseBoxKeepsTheListsForTheNextSummaryAndResetHidesTheWindow) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    checkFinding({"one"});
    behaviour().FormClose();
    EXPECT_FALSE(ui.isWindowVisible(WindowId::NewMail));
    EXPECT_FALSE(window.NewMailOpen);
    EXPECT_FALSE(animating());
    EXPECT_EQ(accounts.Memon[1].get(), "ann\tone\r\n");
    // Closed, the window comes up afresh with the next mail.
    checkFinding({"two"});
    EXPECT_EQ(model().Memo1.get(), summaryOf({"two"}));
    EXPECT_TRUE(ui.isWindowVisible(WindowId::NewMail));
    EXPECT_TRUE(window.NewMailOpen);

    program.mainWindow().Button2Click();
    EXPECT_FALSE(ui.isWindowVisible(WindowId::NewMail));
    EXPECT_FALSE(window.NewMailOpen);
    EXPECT_FALSE(animating());
}

TEST_F(NewMailWindowTest, PicturesFollowInTurnOneAtATimeAndEveryShowStartsAtTheFirst) {
    behaviour().Show();
    EXPECT_EQ(model().shownImage.get(), 0);
    for (int round = 0; round < 2; ++round) {
        for (int image = 1; image <= NewMailWindowModel::kImageCount; ++image) {
            animationTick();
            ASSERT_EQ(model().shownImage.get(), image);
        }
    }
    for (int i = 0; i < 17; ++i) {
        animationTick();
    }
    ui.hideWindow(WindowId::NewMail);
    EXPECT_FALSE(animating());
    behaviour().Show();
    EXPECT_TRUE(animating());
    EXPECT_EQ(model().shownImage.get(), 0);
    animationTick();
    EXPECT_EQ(model().shownImage.get(), 1);
}

TEST_F(NewMailWindowTest, RefreshFollowsTheSettingAndBringsTheWindowForwardOnlyWithMail) {
    struct Case {
        const char* emailProgram;
        bool bringAppToFront;
        const char* list;
        bool enabled;
        bool front;
    };
    const Case cases[] = {
        {"thunderbird", true, "ann\tone\r\n", true, true},
        {"", true, "ann\tone\r\n", false, true},
        {"thunderbird", true, "", true, false},
        {"thunderbird", false, "ann\tone\r\n", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.emailProgram << c.bringAppToFront << c.list);
        window.EmailProgram.set(c.emailProgram);
        model().bringAppToFront.set(c.bringAppToFront);
        model().Memo1.set(c.list);
        model().LaunchCaption.set("Launch Failed");
        ui.calls.clear();
        behaviour().FormActivate();
        EXPECT_EQ(model().LaunchEnabled.get(), c.enabled);
        EXPECT_EQ(model().LaunchCaption.get(), "Launch Email");
        EXPECT_EQ(ui.calls, c.front ? Lines{"front"} : Lines{});
    }
}

TEST_F(NewMailWindowTest, LaunchLogsWhatItStartsWithExeAndReportsOnItsCaption) {
    window.EmailProgram.set("C:\\Mail\\mail.exe -x");
    processes.results = {2};  // no such program on this system
    behaviour().LaunchClick();
    EXPECT_TRUE(loggedInOrder({"Launching exe file", "C:\\Mail\\mail.exe", "with commands",
                               "  -x   ", "in dir", "C:\\Mail"}));
    EXPECT_EQ(model().LaunchCaption.get(), "Launch Failed");

    // Without ".exe" nothing is announced and the caption stays.
    behaviour().FormActivate();
    logLines.clear();
    window.EmailProgram.set("thunderbird -mail");
    behaviour().LaunchClick();
    EXPECT_FALSE(logged("Launching exe file"));
    EXPECT_EQ(model().LaunchCaption.get(), "Launch Email");
}

TEST_F(NewMailWindowTest, LaunchStartsTheProgramWithItsOptionsAndPicturesOpenTheWebSite) {
    struct Case {
        std::string setting;
        std::vector<std::string> arguments;
        std::optional<std::string> workingDirectory;
        const char* caption;
    };
    const std::vector<Case> cases = {
        {"C:\\Mail\\mail.exe -x", {"C:\\Mail\\mail.exe", "-x"}, "C:\\Mail", "Launching..."},
        {"/usr/bin/mail-reader -compose",
         {"/usr/bin/mail-reader", "-compose"},
         std::nullopt,
         "Launch Email"},
        {"\"/opt/My Mail/reader\"", {"/opt/My Mail/reader"}, std::nullopt, "Launch Email"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        processes.starts.clear();
        behaviour().FormActivate();
        window.EmailProgram.set(c.setting);
        behaviour().LaunchClick();
        ASSERT_EQ(processes.starts.size(), 1U);
        EXPECT_EQ(processes.starts[0].arguments, c.arguments);
        EXPECT_EQ(processes.starts[0].workingDirectory, c.workingDirectory);
        EXPECT_EQ(model().LaunchCaption.get(), c.caption);
    }

    processes.starts.clear();
    behaviour().ImageClick();
    ASSERT_EQ(processes.starts.size(), 1U);
    EXPECT_EQ(processes.starts[0].arguments, (Lines{"xdg-open", "http://www.mivo.example.org/"}));
}

}  // namespace
}  // namespace mivo
