// The advanced options dialog: what opening copies in, what closing takes
// back and in which order, its radio buttons, and the ways it closes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CheckFixture.h"
#include "FakeFileChooser.h"

namespace mivo {
namespace {

using Lines = std::vector<std::string>;

constexpr int kFrom = 3;
constexpr int kSender = 4;
constexpr int kSubject = 8;

class AdvancedOptionsDialog : public test::CheckFixture {
protected:
    AdvancedOptionsModel& dialog = program.advancedOptions();
    AdvancedOptions& handlers = program.advancedOptionsBehaviour();

    void toggle() { program.mainWindow().Button5Click(); }
    // A pick in the drop-down list by the user, who may pick the entry
    // already shown.
    void pick(int rule, int index) {
        dialog.SelectBoxn[rule].itemIndex.set(index);
        handlers.SelectBoxClick(rule);
    }
    bool shown() const { return ui.isWindowVisible(WindowId::AdvancedOptions); }

    // Records the name of each watched field when it changes, after the
    // handlers that were there before.
    Lines changes;
    template <typename Value>
    void watch(Field<Value>& field, std::string name) {
        field.onChange([this, name = std::move(name)] { changes.push_back(name); });
    }
    template <typename Value>
    void watchRules(PerRule<Field<Value>>& fields, const std::string& name) {
        for (int rule = 1; rule <= kRuleCount; ++rule) {
            watch(fields[rule], name + std::to_string(rule));
        }
    }
};

TEST_F(AdvancedOptionsDialog, Button5OpensAndClosesItAndItsCaptionFollows) {
    toggle();
    EXPECT_TRUE(shown());
    EXPECT_TRUE(window.advancedOptionsOpen);
    EXPECT_EQ(window.Button5Caption.get(), "Close Adv.Opt.");
    toggle();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(window.advancedOptionsOpen);
    EXPECT_EQ(window.Button5Caption.get(), " Adv. Options");

    // Reset hides it without taking anything back and leaves the caption.
    toggle();
    dialog.EmailProgram.set("mutt");
    program.mainWindow().Button2Click();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(window.advancedOptionsOpen);
    EXPECT_EQ(window.Button5Caption.get(), "Close Adv.Opt.");
    EXPECT_EQ(window.EmailProgram.get(), "");
    toggle();  // opens again, from the main window
    EXPECT_TRUE(shown());
    EXPECT_EQ(dialog.EmailProgram.get(), "");
}

TEST_F(AdvancedOptionsDialog, OpeningCopiesTheMainWindowInItsOrder) {
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        const std::string n = std::to_string(rule);
        window.En[rule].set("text" + n);
        window.SBn[rule].itemIndex.set(rule + 2);
        window.Urgentn[rule].set(true);
        window.DLn[rule].set(true);
        window.DELn[rule].set(true);
        window.RunFilen[rule].set("run" + n + " %s");
    }
    window.UseRule = true;
    window.StartMinimized.set(true);
    window.NoticeAll = false;
    window.NewMLevelNumber.set(true);
    window.EmailProgram.set("/usr/bin/mutt");
    window.TEMPDIR.set("/var/tmp");
    window.Media.set("/home/ann/bounce.mpg");
    watchRules(dialog.Editn, "Edit");
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        watch(dialog.SelectBoxn[rule].itemIndex, "SelectBox" + std::to_string(rule));
    }
    watch(dialog.UseRule, "UseRule");
    watch(dialog.StartMinimized, "StartMinimized");
    watchRules(dialog.Urgentn, "Urgent");
    watch(window.Button5Caption, "Button5");
    watch(dialog.NoticeAll, "NoticeAll");
    watch(dialog.Taskbarbutton, "Taskbarbutton");
    watch(dialog.Taskbartray, "Taskbartray");
    watch(dialog.EmailProgram, "EmailProgram");
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        const std::string n = std::to_string(rule);
        watch(dialog.DLn[rule], "DL" + n);
        watch(dialog.DELn[rule], "DEL" + n);
        watch(dialog.RunFilen[rule], "RunFile" + n);
    }
    watch(dialog.TEMPDIR, "TEMPDIR");
    watch(dialog.Media, "Media");

    toggle();

    // "Number of email" is chosen after the rule mode and turns the rules
    // off again: the second UseRule.
    EXPECT_EQ(changes, (Lines{"Edit1",        "SelectBox1", "Edit2",         "SelectBox2",
                              "Edit3",        "SelectBox3", "UseRule",       "StartMinimized",
                              "Urgent1",      "Urgent2",    "Urgent3",       "Button5",
                              "NoticeAll",    "UseRule",    "Taskbarbutton", "Taskbartray",
                              "EmailProgram", "DL1",        "DEL1",          "RunFile1",
                              "DL2",          "DEL2",       "RunFile2",      "DL3",
                              "DEL3",         "RunFile3",   "TEMPDIR",       "Media"}));
    EXPECT_EQ(dialog.Editn[2].get(), "text2");
    EXPECT_EQ(dialog.SelectBoxn[3].itemIndex.get(), 5);
    EXPECT_TRUE(dialog.NewMLevelNumber.get());
    EXPECT_FALSE(dialog.RadioButton1.get());
    EXPECT_TRUE(dialog.ShowAll.get());
    EXPECT_FALSE(dialog.NoticeAll.get());
    EXPECT_TRUE(dialog.Taskbarbutton.get());
    EXPECT_TRUE(dialog.Taskbartray.get());
    EXPECT_EQ(dialog.RunFilen[2].get(), "run2 %s");
    EXPECT_EQ(dialog.TEMPDIR.get(), "/var/tmp");
    EXPECT_EQ(dialog.Media.get(), "/home/ann/bounce.mpg");
    // The toggle applies the taskbar options too: the first time, the icon.
    EXPECT_EQ(ui.calls, (Lines{"show 2", "show tray icon 123 Mivo"}));
}

TEST_F(AdvancedOptionsDialog, ClosingCleansTheRulesThenTakesEverythingBackInItsOrder) {
    toggle();
    pick(1, kFrom);
    dialog.Editn[1].set("boss");
    pick(2, kSubject);
    dialog.Editn[2].set("invoice");
    dialog.Editn[3].set("left without a field");
    dialog.StartMinimized.set(true);
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        const std::string n = std::to_string(rule);
        dialog.Urgentn[rule].set(true);
        dialog.DLn[rule].set(true);
        dialog.DELn[rule].set(true);
        dialog.RunFilen[rule].set("run" + n);
    }
    dialog.NoticeAll.set(false);
    dialog.NewMLevelNumber.set(true);
    dialog.UseRule.set(true);
    dialog.Taskbarbutton.set(false);
    dialog.Taskbartray.set(false);
    dialog.EmailProgram.set("/usr/bin/mutt");
    dialog.TEMPDIR.set("/var/tmp");
    dialog.Media.set("/home/ann/bounce.mpg");

    // Flags have no handlers: each is noted when the next field changes.
    auto flags = [this] {
        return std::string(window.UseRule ? " UseRule" : "") +
               (window.advancedOptionsOpen ? " open" : "") +
               (window.NoticeAll ? " NoticeAll" : "") +
               (window.taskbarButton ? " taskbarButton" : "") +
               (window.trayIcon ? " trayIcon" : "");
    };
    auto watchWithFlags = [&](auto& field, const std::string& name) {
        field.onChange([this, name, flags] { changes.push_back(name + flags()); });
    };
    watch(dialog.Editn[3], "clean Edit3");
    watch(dialog.SelectBoxn[3].itemIndex, "clean SelectBox3");
    watchRules(window.En, "E");
    watchWithFlags(window.StartMinimized, "StartMinimized");
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        watch(window.SBn[rule].itemIndex, "SB" + std::to_string(rule));
    }
    watchRules(window.Urgentn, "Urgent");
    watchWithFlags(window.Button5Caption, "Button5");
    watchWithFlags(window.NewMLevelNumber, "NewMLevelNumber");
    watchWithFlags(window.EmailProgram, "EmailProgram");
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        const std::string n = std::to_string(rule);
        watch(window.DLn[rule], "DL" + n);
        watch(window.DELn[rule], "DEL" + n);
        watch(window.RunFilen[rule], "RunFile" + n);
    }
    watch(window.TEMPDIR, "TEMPDIR");
    watch(window.Media, "Media");
    ui.calls.clear();

    toggle();

    EXPECT_EQ(changes, (Lines{"clean SelectBox3",
                              "clean Edit3",
                              "E1",
                              "E2",
                              "StartMinimized UseRule open "
                              "NoticeAll taskbarButton trayIcon",
                              "SB1",
                              "SB2",
                              "SB3",
                              "Urgent1",
                              "Urgent2",
                              "Urgent3",
                              "Button5 UseRule taskbarButton trayIcon",
                              "NewMLevelNumber UseRule taskbarButton trayIcon",
                              "EmailProgram UseRule",
                              "DL1",
                              "DEL1",
                              "RunFile1",
                              "DL2",
                              "DEL2",
                              "RunFile2",
                              "DL3",
                              "DEL3",
                              "RunFile3",
                              "TEMPDIR",
                              "Media"}));
    EXPECT_EQ(ui.calls, (Lines{"hide 2", "remove taskbar button", "remove tray icon"}));
    EXPECT_EQ(window.En[1].get(), "boss");
    EXPECT_EQ(window.SBn[2].itemIndex.get(), kSubject);
    EXPECT_EQ(window.En[3].get(), "");
    EXPECT_EQ(window.SBn[3].itemIndex.get(), 0);
    EXPECT_TRUE(window.NewMLevelNumber.get());
    EXPECT_EQ(window.RunFilen[3].get(), "run3");
    EXPECT_EQ(window.TEMPDIR.get(), "/var/tmp");
    EXPECT_EQ(window.Media.get(), "/home/ann/bounce.mpg");
}

// A rule needs both a text and a header field; otherwise closing makes it
// "no rule" with no text, whatever the user chose.
TEST_F(AdvancedOptionsDialog, ClosingTurnsEveryIncompleteRuleIntoNoRule) {
    struct Case {
        const char* text;
        int field;
        const char* keptText;
        int keptField;
    };
    const Case cases[] = {
        {"", kFrom, "", 0},   // empty text, field chosen
        {"boss", 0, "", 0},   // text with "no rule"
        {"boss", -1, "", 0},  // text with nothing selected
        {"boss", kSender, "boss", kSender},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + std::string(" in field ") + std::to_string(c.field));
        toggle();
        for (int rule = 1; rule <= kRuleCount; ++rule) {
            dialog.Editn[rule].set(c.text);
            dialog.SelectBoxn[rule].itemIndex.set(c.field);
        }
        handlers.OKClick();
        for (int rule = 1; rule <= kRuleCount; ++rule) {
            EXPECT_EQ(window.En[rule].get(), c.keptText);
            EXPECT_EQ(window.SBn[rule].itemIndex.get(), c.keptField);
            EXPECT_EQ(dialog.SelectBoxn[rule].itemIndex.get(), c.keptField);
        }
    }
}

TEST_F(AdvancedOptionsDialog, PickingAFieldUsesRulesAndPickingADetailLevelIgnoresThem) {
    toggle();
    ASSERT_TRUE(dialog.ShowAll.get());
    pick(2, kFrom);
    EXPECT_TRUE(dialog.UseRule.get());
    EXPECT_FALSE(dialog.ShowAll.get());

    dialog.NewMLevelNumber.set(true);  // "Number of email"
    EXPECT_TRUE(dialog.ShowAll.get());
    EXPECT_FALSE(dialog.UseRule.get());
    EXPECT_FALSE(dialog.RadioButton1.get());

    // Picking the entry already shown is a click, and "no rule" is no rule.
    pick(2, kFrom);
    EXPECT_TRUE(dialog.UseRule.get());
    dialog.ShowAll.set(true);
    pick(1, 0);
    EXPECT_TRUE(dialog.ShowAll.get());
    EXPECT_FALSE(dialog.UseRule.get());

    dialog.RadioButton1.set(true);  // "From and Subject"
    EXPECT_FALSE(dialog.NewMLevelNumber.get());
    EXPECT_TRUE(dialog.ShowAll.get());

    // A field chosen from code, as the opening does, is not a pick.
    dialog.SelectBoxn[3].itemIndex.set(kSubject);
    EXPECT_FALSE(dialog.UseRule.get());
}

TEST_F(AdvancedOptionsDialog, NumberOfEmailOnTheMainWindowTurnsRulesOffAtTheFirstOpening) {
    window.NewMLevelNumber.set(true);
    window.UseRule = true;
    toggle();
    EXPECT_TRUE(dialog.ShowAll.get());
    EXPECT_FALSE(dialog.UseRule.get());
    EXPECT_TRUE(dialog.NewMLevelNumber.get());
    toggle();
    EXPECT_FALSE(window.UseRule);
    EXPECT_TRUE(window.NewMLevelNumber.get());
}

TEST_F(AdvancedOptionsDialog, CancelDiscardsTheEdits) {
    window.EmailProgram.set("/usr/bin/mutt");
    toggle();
    dialog.EmailProgram.set("/usr/bin/thunderbird");
    pick(1, kFrom);
    dialog.Editn[1].set("boss");
    dialog.Taskbartray.set(false);
    ui.calls.clear();
    handlers.CancelClick();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(window.advancedOptionsOpen);
    EXPECT_EQ(window.Button5Caption.get(), " Adv. Options");
    EXPECT_EQ(window.EmailProgram.get(), "/usr/bin/mutt");
    EXPECT_EQ(window.En[1].get(), "");
    EXPECT_FALSE(window.UseRule);
    EXPECT_TRUE(window.trayIcon);
    EXPECT_EQ(ui.calls, (Lines{"show 2", "hide 2"}));
}

// Cancel refills the dialog, and a detail button that the refill selects
// selects "Ignore rules" too, which closing then takes back.
TEST_F(AdvancedOptionsDialog, CancelTurnsRulesOffWhenItsRefillChangesTheDetailLevel) {
    for (const bool numberOfEmail : {true, false}) {
        SCOPED_TRACE(numberOfEmail ? "Number of email on the main window" : "From and Subject");
        window.NewMLevelNumber.set(numberOfEmail);
        window.UseRule = true;
        toggle();
        dialog.UseRule.set(true);
        // The user picks the other level of detail.
        (numberOfEmail ? dialog.RadioButton1 : dialog.NewMLevelNumber).set(true);
        handlers.CancelClick();
        EXPECT_FALSE(window.UseRule);
        EXPECT_EQ(window.NewMLevelNumber.get(), numberOfEmail);
    }
}

TEST_F(AdvancedOptionsDialog, TheCloseBoxTakesTheEditsBackLikeOK) {
    toggle();
    dialog.EmailProgram.set("/usr/bin/mutt");
    dialog.StartMinimized.set(true);
    handlers.FormClose();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(window.advancedOptionsOpen);
    EXPECT_EQ(window.EmailProgram.get(), "/usr/bin/mutt");
    EXPECT_TRUE(window.StartMinimized.get());
}

// An empty directory means the user's own download folder, never the root.
TEST_F(AdvancedOptionsDialog, AnEmptyTemporaryDirectoryBecomesTheOwnDownloadFolderWhenShown) {
    window.TEMPDIR.set("");
    toggle();
    EXPECT_EQ(dialog.TEMPDIR.get(), "/home/me/.cache/mivo");
    handlers.OKClick();
    EXPECT_EQ(window.TEMPDIR.get(), "/home/me/.cache/mivo");

    // Cancel refills an open dialog, which is no new show: the main
    // window's empty directory stays empty.
    window.TEMPDIR.set("");
    toggle();
    handlers.CancelClick();
    EXPECT_EQ(window.TEMPDIR.get(), "");
}

TEST_F(AdvancedOptionsDialog, BrowsePutsTheChosenFileIntoItsFieldAndCancelKeepsTheText) {
    test::FakeFileChooser chooser;
    handlers.attachFileChooser(&chooser);
    struct Case {
        const char* button;
        std::function<void()> click;
        TextField& field;
        const char* title;
        const char* filterName;
        bool executablesOnly;
    };
    const char* programs = "Please Select a program to process the email";
    const Case cases[] = {
        {"Browse", [&] { handlers.BrowseClick(); }, dialog.EmailProgram,
         "Please choose an email client", "Executable files", true},
        {"Browse1", [&] { handlers.BrowseRuleClick(1); }, dialog.RunFilen[1], programs,
         "Executable files", true},
        {"Browse3", [&] { handlers.BrowseRuleClick(3); }, dialog.RunFilen[3], programs,
         "Executable files", true},
        {"Browse5", [&] { handlers.Browse5Click(); }, dialog.Media,
         "Please choose an media file to be played when new mail arrives.",
         "Media Player Files (all types)", false},
    };
    toggle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        c.field.set("/opt/old");
        chooser.asked.clear();
        chooser.answer = "/usr/bin/chosen";
        c.click();
        ASSERT_EQ(chooser.asked.size(), 1U);
        EXPECT_EQ(chooser.asked[0].title, c.title);
        EXPECT_EQ(chooser.asked[0].filterName, c.filterName);
        EXPECT_EQ(chooser.asked[0].executablesOnly, c.executablesOnly);
        EXPECT_EQ(chooser.asked[0].fileName, "/opt/old");
        EXPECT_EQ(c.field.get(), "/usr/bin/chosen");

        chooser.answer.reset();
        c.click();
        EXPECT_EQ(c.field.get(), "/usr/bin/chosen");
    }
    handlers.attachFileChooser(nullptr);
    handlers.BrowseClick();
    EXPECT_EQ(dialog.EmailProgram.get(), "/usr/bin/chosen");
}

// A program field is a command line: a chosen path with blanks goes in
// quotes so it stays one name, and the dialog starts from the path the quotes
// hold. The media file is no command line and stays as chosen.
TEST_F(AdvancedOptionsDialog, BrowseQuotesAProgramPathWithBlanks) {
    test::FakeFileChooser chooser;
    handlers.attachFileChooser(&chooser);
    struct Case {
        const char* button;
        std::function<void()> click;
        TextField& field;
        const char* before;
        const char* asked;
        const char* chosen;
        const char* after;
    };
    const Case cases[] = {
        {"Browse", [&] { handlers.BrowseClick(); }, dialog.EmailProgram, "\"/opt/Old Mail/mail\"",
         "/opt/Old Mail/mail", "/home/me/My Programs/mail", "\"/home/me/My Programs/mail\""},
        {"Browse2", [&] { handlers.BrowseRuleClick(2); }, dialog.RunFilen[2],
         "\"/opt/My Viewer/view\" %s", "/opt/My Viewer/view", "/usr/bin/view", "/usr/bin/view"},
        {"Browse3", [&] { handlers.BrowseRuleClick(3); }, dialog.RunFilen[3], "view %s", "view %s",
         "/opt/tab\tname", "\"/opt/tab\tname\""},
        {"Browse5", [&] { handlers.Browse5Click(); }, dialog.Media, "/home/me/My Sounds/old.wav",
         "/home/me/My Sounds/old.wav", "/home/me/My Sounds/new.wav", "/home/me/My Sounds/new.wav"},
    };
    toggle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        c.field.set(c.before);
        chooser.asked.clear();
        chooser.answer = c.chosen;
        c.click();
        ASSERT_EQ(chooser.asked.size(), 1U);
        EXPECT_EQ(chooser.asked[0].fileName, c.asked);
        EXPECT_EQ(c.field.get(), c.after);
    }
    handlers.attachFileChooser(nullptr);
}

TEST_F(AdvancedOptionsDialog, ShowLogOpensTheViewerOnTheWholeLogAndKeepsItCurrent) {
    program.log().append("first line");
    toggle();
    ui.calls.clear();
    handlers.Button1Click();
    EXPECT_TRUE(window.logViewerOpen);
    EXPECT_EQ(program.logViewer().LogCopy.get(), program.log().text());
    EXPECT_EQ(ui.calls, Lines{"show 3"});
    program.log().append("second line");
    EXPECT_EQ(program.logViewer().LogCopy.get(), program.log().text());

    handlers.Button2Click();
    EXPECT_TRUE(ui.isWindowVisible(WindowId::DirectoryChooser));
}

}  // namespace
}  // namespace mivo
