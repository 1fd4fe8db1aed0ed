// The settings store: the saved text, every quirk of loading it, the old
// settings file, and when nothing is loaded or saved.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "FakeProgramPorts.h"
#include "app/Program.h"
#include "settings/PasswordScrambling.h"

namespace mivo {
namespace {

// A Program on fakes that has not started yet: the test puts the stored
// text (or the old file) in place first.
class StoredSettings : public ::testing::Test {
protected:
    struct Run : test::FakeProgramPorts {
        explicit Run(std::vector<std::string> arguments = {})
            : program(ports(), std::move(arguments)) {
            program.log().onAppend([this](std::string_view text) { log.emplace_back(text); });
        }
        Program program;
        MainWindowModel& window = program.mainWindowModel();
        CycleState& cycle = program.cycleState();
        std::vector<std::string> log;

        // The saved text as lines, without their CR LF.
        std::vector<std::string> savedLines() {
            std::vector<std::string> lines;
            const std::string& text = settings.writes.back();
            for (std::size_t start = 0; start < text.size();) {
                const std::size_t end = text.find("\r\n", start);
                lines.push_back(text.substr(start, end - start));
                start = end + 2;
            }
            return lines;
        }
    };
};

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// "abc" and the empty password, scrambled with ten zero random bytes.
const std::string kAbcScrambled = "gckhlecegeffoagdkcfcfhgefa";
const std::string kEmptyScrambled = "acejfebefeffoagdkcfc";

TEST_F(StoredSettings, SavedTextIsTheWholeKeyTableInItsOrder) {
    Run run;
    run.program.startUp();
    MainWindowModel& w = run.window;
    w.Edit1.set("5");
    w.UserName.set("alice");
    w.UserPass.set("abc");
    w.PopServ.set("localhost");
    w.USERn[3].set("carol");
    w.POPn[3].set("127.0.0.1:1110");
    run.cycle.CCW[2] = true;
    w.trayIcon = false;
    w.StartMinimized.set(true);
    w.Urgentn[2].set(true);
    w.DLn[1].set(true);
    w.DELn[3].set(true);
    w.RunFilen[1].set("sort %s");
    w.TEMPDIR.set("/var/tmp");
    w.uniqueFile = 7;
    w.UseRule = true;
    w.SBn[1].itemIndex.set(3);
    w.SBn[2].itemIndex.set(-1);
    w.En[1].set("boss");
    w.EmailProgram.set("/usr/bin/mail-reader");

    run.program.saveSettings();

    const std::string empty = kEmptyScrambled;
    const std::vector<std::string> expected = {"EXENAME=/usr/bin/mivo",
                                               "Show_as_icon=YES",
                                               "Show_as_button=NO",
                                               "version=45",
                                               "TimeInterval=5",
                                               "UN1=alice",
                                               "UN2=",
                                               "UN3=carol",
                                               "UN4=",
                                               "UN5=",
                                               "UN6=",
                                               "UN7=",
                                               "UN8=",
                                               "PW1=" + kAbcScrambled,
                                               "PW2=" + empty,
                                               "PW3=" + empty,
                                               "PW4=" + empty,
                                               "PW5=" + empty,
                                               "PW6=" + empty,
                                               "PW7=" + empty,
                                               "PW8=" + empty,
                                               "PO1=localhost",
                                               "PO2=",
                                               "PO3=127.0.0.1:1110",
                                               "PO4=",
                                               "PO5=",
                                               "PO6=",
                                               "PO7=",
                                               "PO8=",
                                               "S1=NO",
                                               "S2=YES",
                                               "S3=YES",
                                               "S4=YES",
                                               "S5=YES",
                                               "S6=NO",
                                               "CCW1=NO",
                                               "CCW2=YES",
                                               "CCW3=NO",
                                               "CCW4=NO",
                                               "CCW5=NO",
                                               "CCW6=NO",
                                               "CCW7=NO",
                                               "CCW8=NO",
                                               "URG1=NO",
                                               "URG2=YES",
                                               "URG3=NO",
                                               "StartMinimized=YES",
                                               "DL1=YES",
                                               "DEL1=NO",
                                               "RunFile1=sort %s",
                                               "DL2=NO",
                                               "DEL2=NO",
                                               "RunFile2=",
                                               "DL3=NO",
                                               "DEL3=YES",
                                               "RunFile3=",
                                               "TEMPDIR=/var/tmp",
                                               "Media=c:\\cmpeg\\bounce.mpg",
                                               "uniqueFile=7",
                                               "RULES=Use Rules",
                                               "RULEindex1=3",
                                               "RULEindex2=-1",
                                               "RULEindex3=0",
                                               "RULEstr1=boss",
                                               "RULEstr2=",
                                               "RULEstr3=",
                                               "EmailProgram=/usr/bin/mail-reader"};
    ASSERT_EQ(run.settings.writes.size(), 1U);
    EXPECT_EQ(run.savedLines(), expected);
    EXPECT_EQ(run.window.SET.get(), join(expected));
}

TEST_F(StoredSettings, WhatIsSavedLoadsBackAndAnUnchangedSaveWritesNothing) {
    Run first;
    first.program.startUp();
    for (int account = 1; account <= kAccountCount; ++account) {
        first.window.accountUser(account).set("user" + std::to_string(account));
        // Long passwords with bytes above 127 and an "=" inside.
        first.window.accountPass(account).set(std::string(400, 'p') + "=\xE9" +
                                              std::to_string(account));
        first.window.accountPop(account).set("127.0.0.1:" + std::to_string(1100 + account));
    }
    first.window.NewMLevelNumber.set(true);
    first.window.CheckBox2.set(false);
    first.window.NoticeAll = false;
    first.window.taskbarButton = false;
    first.window.SBn[3].itemIndex.set(13);
    first.window.En[3].set("a=b");
    first.window.uniqueFile = -5;
    first.program.saveSettings();
    const std::string saved = first.settings.writes.back();

    Run second;
    second.settings.store(saved);
    second.program.startUp();
    for (int account = 1; account <= kAccountCount; ++account) {
        EXPECT_EQ(second.window.accountUser(account).get(),
                  first.window.accountUser(account).get());
        EXPECT_EQ(second.window.accountPass(account).get(),
                  first.window.accountPass(account).get());
        EXPECT_EQ(second.window.accountPop(account).get(), first.window.accountPop(account).get());
    }
    EXPECT_TRUE(second.window.NewMLevelNumber.get());
    EXPECT_FALSE(second.window.CheckBox2.get());
    EXPECT_FALSE(second.window.NoticeAll);
    EXPECT_FALSE(second.window.taskbarButton);
    EXPECT_TRUE(second.window.trayIcon);
    EXPECT_EQ(second.window.SBn[3].itemIndex.get(), 13);
    EXPECT_EQ(second.window.En[3].get(), "a=b");
    EXPECT_EQ(second.window.uniqueFile, -5);
    EXPECT_EQ(second.window.Memo6.get(), saved);

    // A click or a deactivation with nothing changed leaves the file alone;
    // a change is written once.
    second.program.mainWindow().FormClick();
    second.program.mainWindow().FormClick();
    EXPECT_TRUE(second.settings.writes.empty());
    second.window.UserPass.set("new");
    second.program.mainWindow().FormClick();
    second.program.mainWindow().FormClick();
    EXPECT_EQ(second.settings.writes.size(), 1U);
}

// Every key goes back where it came from: each option holds a value of its
// own, unlike its neighbours' and its design value, so a key loaded into
// the wrong control, or loaded before a handler that clears it, comes out
// different on the next save.
TEST_F(StoredSettings, EveryKeyLoadsBackIntoTheOptionItWasSavedFrom) {
    Run first;
    first.program.startUp();
    MainWindowModel& w = first.window;
    w.Edit1.set("7");
    for (int account = 1; account <= kAccountCount; ++account) {
        const std::string n = std::to_string(account);
        w.accountUser(account).set("user" + n);
        w.accountPass(account).set("secret" + n);
        w.accountPop(account).set("127.0.0." + n);
    }
    w.taskbarButton = false;
    w.NewMLevelNumber.set(true);
    w.StartMinimized.set(true);
    w.CheckBox1.set(false);
    w.NoticeAll = false;
    // After the accounts: editing account 1 clears its flag.
    first.cycle.CCW[1] = true;
    first.cycle.CCW[6] = true;
    w.Urgentn[2].set(true);
    w.DLn[1].set(true);
    w.DELn[3].set(true);
    for (int rule = 1; rule <= 3; ++rule) {
        w.RunFilen[rule].set("program" + std::to_string(rule) + " %s");
        w.En[rule].set("text" + std::to_string(rule));
    }
    w.TEMPDIR.set("/var/tmp/mail");
    w.Media.set("/usr/share/sounds/new-mail.ogg");
    w.uniqueFile = 42;
    w.UseRule = true;
    w.SBn[1].itemIndex.set(5);
    w.SBn[2].itemIndex.set(-1);
    w.SBn[3].itemIndex.set(13);
    w.EmailProgram.set("/usr/bin/mail-reader");
    first.program.saveSettings();
    const std::string saved = first.settings.writes.back();

    Run second;
    second.settings.store(saved);
    second.program.startUp();
    second.program.saveSettings();
    EXPECT_EQ(second.window.SET.get(), saved);
}

TEST_F(StoredSettings, LoadingLogsTheOldSetTextEachPasswordAndTheLoad) {
    Run run;
    run.settings.store(
        join({"TimeInterval=7", "PW1=" + kAbcScrambled, "PW2=broken", "version=45"}));
    run.program.startUp();
    std::vector<std::string> lines;
    for (const std::string& line : run.log) {
        if (line == "SET" || line == "loading..." || line == "PTF" || line == "PTT") {
            lines.push_back(line);
        }
    }
    const std::vector<std::string> expected = {"SET", "loading...", "PTF", "PTT", "PTT",
                                               "PTT", "PTT",        "PTT", "PTT", "PTT"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(run.window.UserPass.get(), "abc");
    // SET keeps a memo's line rules: its design line, then one line per line.
    const std::string& text = run.settings.stored.text;
    EXPECT_EQ(run.window.SET.get(), "SET\r\n" + text.substr(0, text.size() - 2));
    EXPECT_EQ(run.window.Edit1.get(), "7");
    EXPECT_EQ(run.cycle.tickMilliseconds, 7 * 60000 / 200);
    // Loaded wide, the window starts narrow.
    EXPECT_EQ(run.window.UserOptionsCaption.get(), "Open Options ->");
    EXPECT_EQ(run.ui.helpShown, 0);
}

TEST_F(StoredSettings, LoadQuirks) {
    struct Case {
        const char* name;
        std::string text;
        std::function<void(Run&)> expect;
    };
    const std::vector<Case> cases = {
        {"StartMinimized overrides S2", join({"S2=NO", "StartMinimized=YES", "version=45"}),
         [](Run& r) { EXPECT_TRUE(r.window.StartMinimized.get()); }},
        {"S2 alone loses to a missing StartMinimized", join({"S2=YES", "version=45"}),
         [](Run& r) { EXPECT_FALSE(r.window.StartMinimized.get()); }},
        {"CCW1 overrides S6", join({"S6=YES", "CCW1=NO", "CCW2=YES", "version=45"}),
         [](Run& r) {
             EXPECT_FALSE(r.cycle.CCW[1]);
             EXPECT_TRUE(r.cycle.CCW[2]);
         }},
        {"keys in any case, values exact", join({"timeinterval=5", "s3=yes", "S4=YES"}),
         [](Run& r) {
             EXPECT_EQ(r.window.Edit1.get(), "5");
             EXPECT_FALSE(r.window.CheckBox1.get());
             EXPECT_TRUE(r.window.CheckBox2.get());
         }},
        {"the stored interval is in force even when it is the design value",
         join({"TimeInterval=20", "version=45"}),
         [](Run& r) { EXPECT_EQ(r.cycle.tickMilliseconds, 20 * 60000 / 200); }},
        {"the first line of a key wins", join({"UN1=first", "un1=second"}),
         [](Run& r) { EXPECT_EQ(r.window.UserName.get(), "first"); }},
        {"rule fields in any base, out of range none",
         join({"RULEindex1=99", "RULEindex2=0x3", "RULEindex3=010"}),
         [](Run& r) {
             EXPECT_EQ(r.window.SBn[1].itemIndex.get(), -1);
             EXPECT_EQ(r.window.SBn[2].itemIndex.get(), 3);
             EXPECT_EQ(r.window.SBn[3].itemIndex.get(), 8);
             r.program.saveSettings();
             EXPECT_NE(r.settings.writes.back().find("\r\nRULEindex1=-1\r\n"), std::string::npos);
         }},
        {"no version turns taskbar entry and tray icon on",
         join({"Show_as_icon=NO", "Show_as_button=NO"}),
         [](Run& r) {
             EXPECT_TRUE(r.window.taskbarButton);
             EXPECT_TRUE(r.window.trayIcon);
         }},
        {"the swapped presence keys", join({"Show_as_icon=YES", "Show_as_button=NO", "version=45"}),
         [](Run& r) {
             EXPECT_TRUE(r.window.taskbarButton);
             EXPECT_FALSE(r.window.trayIcon);
         }},
        {"a last line without its end is lost", "UN1=kept\r\nUN2=lost",
         [](Run& r) {
             EXPECT_EQ(r.window.UserName.get(), "kept");
             EXPECT_EQ(r.window.USERn[2].get(), "");
         }},
        {"a bare LF ends a line only where no CR follows", "UN1=a\nUN2=b\nUN3=c\n",
         [](Run& r) {
             EXPECT_EQ(r.window.UserName.get(), "a");
             EXPECT_EQ(r.window.USERn[3].get(), "c");
         }},
        {"a password failing its check is emptied", join({"PW1=abcd"}),
         [](Run& r) {
             EXPECT_EQ(r.window.UserPass.get(), "");
             EXPECT_EQ(r.log.at(r.log.size() - 8), "PTT");
         }},
        {"the empty password's 20 letters", join({"PW1=" + kEmptyScrambled}),
         [](Run& r) { EXPECT_EQ(r.window.UserPass.get(), ""); }},
        {"missing keys read empty, false and 0", join({"version=45"}),
         [](Run& r) {
             EXPECT_EQ(r.window.Edit1.get(), "");
             EXPECT_EQ(r.cycle.tickMilliseconds, 60000 / 200);  // the minimum
             EXPECT_FALSE(r.window.CheckBox1.get());
             EXPECT_FALSE(r.window.NoticeAll);
             EXPECT_EQ(r.window.TEMPDIR.get(), "");
             EXPECT_EQ(r.window.RunFilen[1].get(), "");
             EXPECT_EQ(r.window.SBn[1].itemIndex.get(), 0);
         }},
        {"a program field saved with its design text names no program",
         join({"RunFile1=RunFile1", "RunFile2=RunFile2 %s", "RunFile3=RunFile3"}),
         [](Run& r) {
             EXPECT_EQ(r.window.RunFilen[1].get(), "");
             EXPECT_EQ(r.window.RunFilen[2].get(), "RunFile2 %s");
             EXPECT_EQ(r.window.RunFilen[3].get(), "");
         }},
        {"uniqueFile in decimal, up to the first other character", join({"uniqueFile=  -012x9"}),
         [](Run& r) { EXPECT_EQ(r.window.uniqueFile, -12); }},
        {"no media file: derived only from a program called mivo.exe", join({"Media="}),
         [](Run& r) { EXPECT_EQ(r.window.Media.get(), ""); }},
        {"unknown keys and lines without = are dropped by the next save",
         join({"Colour=red", "no equals here", "UN1=x"}),
         [](Run& r) {
             r.program.saveSettings();
             EXPECT_EQ(r.settings.writes.back().find("Colour"), std::string::npos);
             EXPECT_EQ(r.savedLines().size(), 67U);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run run;
        run.settings.store(c.text);
        run.program.startUp();
        c.expect(run);
    }
}

TEST_F(StoredSettings, MediaIsDerivedFromAProgramPathNamingMivoExe) {
    Run run;
    run.settings.path = "/opt/Apps/MIVO.EXE";
    run.settings.store(join({"version=45"}));
    run.program.startUp();
    EXPECT_EQ(run.window.Media.get(), "/opt/apps/bounce.mpg");
}

TEST_F(StoredSettings, NothingStoredAndNoOldFileKeepsTheDesignValues) {
    Run run;
    run.program.startUp();
    EXPECT_EQ(run.window.Memo6.get(), "Reg Settings Unavailable.");
    EXPECT_EQ(run.window.Edit1.get(), "20");
    EXPECT_TRUE(run.window.CheckBox1.get());
    EXPECT_TRUE(run.window.CheckBox2.get());
    EXPECT_EQ(run.window.TEMPDIR.get(), "/home/me/.cache/mivo");
    EXPECT_EQ(run.window.UserOptionsCaption.get(), "Close Options <-");  // no toggle
    // The interval is put in force, then the tray icon the options promise.
    EXPECT_EQ(std::vector<std::string>(run.log.end() - 2, run.log.end()),
              (std::vector<std::string>{"Timer Activated!!", "showing tray icon"}));
    // A first start opens the help for the new user.
    EXPECT_EQ(run.ui.helpShown, 1);
    run.program.saveSettings();
    EXPECT_EQ(run.savedLines().size(), 67U);
    EXPECT_EQ(run.savedLines().front(), "EXENAME=/usr/bin/mivo");
    EXPECT_EQ(run.savedLines()[3], "version=45");
    EXPECT_EQ(run.savedLines().back(), "EmailProgram=");
    for (const char* line : {"RunFile1=", "RunFile2=", "RunFile3="}) {
        EXPECT_NE(std::find(run.savedLines().begin(), run.savedLines().end(), line),
                  run.savedLines().end())
            << line;
    }
}

// An old file the port would not trust (someone else's, or one others can
// change) is passed over as if absent, with its reason in one Log line.
TEST_F(StoredSettings, AnUntrustedOldFileIsIgnoredWithItsReason) {
    Run run;
    run.settings.legacyFile.state = StoredText::State::Ignored;
    run.settings.legacyFile.reason = "/shared/mivo24.txt belongs to another user";
    run.program.startUp();
    EXPECT_EQ(std::count(run.log.begin(), run.log.end(),
                         "Old settings file ignored: /shared/mivo24.txt belongs to another user"),
              1);
    EXPECT_EQ(std::count(run.log.begin(), run.log.end(), "Loading values from mivo24.txt file."),
              0);
    EXPECT_EQ(run.window.UserName.get(), "");
    EXPECT_EQ(run.ui.helpShown, 1);
}

std::string spreadOverThreeBytes(const std::string& password) {
    std::string spread;
    for (const char c : password) {
        spread += {c, 'z', c};
    }
    return spread;
}

std::string oldFilePassword(const std::string& password) {
    test::FakeRandom random;
    return scramblePassword(spreadOverThreeBytes(password), random).value();
}

TEST_F(StoredSettings, OldSettingsFileIsReadLineByLine) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::function<void(Run&)> expect;
    };
    std::vector<std::string> full = {"ann", "bob", "", "", "", "", "", ""};
    // A password longer than any line the old reader could hold is read whole.
    full.push_back(oldFilePassword(std::string(120, 'k')));
    full.push_back("not scrambled");
    for (int i = 3; i <= 8; ++i) {
        full.push_back(oldFilePassword(""));
    }
    for (const char* host : {"localhost", "127.0.0.1:1110", "", "", "", "", "", ""}) {
        full.emplace_back(host);
    }
    for (const char* line : {"9", "YES", "NO", "NO", "YES", "no", "YES"}) {
        full.emplace_back(line);
    }
    std::vector<std::string> withRules = full;
    for (const char* line : {"Use Rules", "3", "0x8", "99", "boss", "urgent", "x"}) {
        withRules.emplace_back(line);
    }
    std::vector<std::string> ignoringRules = full;
    for (const char* line : {"Ignore Rules", "3", "8", "0", "boss"}) {
        ignoringRules.emplace_back(line);
    }
    const std::vector<Case> cases = {
        {"rules in use", withRules,
         [](Run& r) {
             EXPECT_EQ(r.window.UserName.get(), "ann");
             EXPECT_EQ(r.window.UserPass.get(), std::string(120, 'k'));
             EXPECT_EQ(r.window.PASSn[2].get(), "");  // failed: left as it was
             EXPECT_EQ(r.window.POPn[2].get(), "127.0.0.1:1110");
             EXPECT_EQ(r.window.Edit1.get(), "9");
             EXPECT_TRUE(r.window.NewMLevelNumber.get());
             EXPECT_FALSE(r.window.StartMinimized.get());
             EXPECT_FALSE(r.window.CheckBox1.get());
             EXPECT_TRUE(r.window.CheckBox2.get());
             EXPECT_FALSE(r.window.NoticeAll);
             EXPECT_TRUE(r.cycle.CCW[1]);
             EXPECT_TRUE(r.window.UseRule);
             EXPECT_EQ(r.window.SBn[1].itemIndex.get(), 3);
             EXPECT_EQ(r.window.SBn[2].itemIndex.get(), 8);
             EXPECT_EQ(r.window.SBn[3].itemIndex.get(), -1);
             EXPECT_EQ(r.window.En[2].get(), "urgent");
             EXPECT_EQ(r.window.En[3].get(), "x");
         }},
        {"rules ignored: nothing after the rule mode", ignoringRules,
         [](Run& r) {
             EXPECT_FALSE(r.window.UseRule);
             EXPECT_EQ(r.window.SBn[1].itemIndex.get(), 0);
             EXPECT_EQ(r.window.En[1].get(), "");
         }},
        {"a short file keeps the design values past its end",
         {"ann", "bob"},
         [](Run& r) {
             EXPECT_EQ(r.window.USERn[2].get(), "bob");
             EXPECT_EQ(r.window.Edit1.get(), "20");
             EXPECT_TRUE(r.window.CheckBox1.get());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run run;
        run.settings.legacyFile.state = StoredText::State::Present;
        std::string text;
        for (const std::string& line : c.lines) {
            text += line + "\r\n";
        }
        run.settings.legacyFile.text = text;
        run.program.startUp();
        EXPECT_NE(std::find(run.log.begin(), run.log.end(), "Loading values from mivo24.txt file."),
                  run.log.end());
        EXPECT_EQ(run.window.UserOptionsCaption.get(), "Open Options ->");
        c.expect(run);
        // The next save stores it all as a settings text.
        run.program.saveSettings();
        EXPECT_EQ(run.savedLines().size(), 67U);
    }
}

TEST_F(StoredSettings, ThreeArgumentsGiveAOneOffAccountWithoutLoadingOrSaving) {
    Run run({"ann", "secret", "127.0.0.1:1110"});
    run.settings.store(join({"UN1=stored", "TimeInterval=5", "version=45"}));
    run.program.startUp();
    EXPECT_EQ(run.window.UserName.get(), "ann");
    EXPECT_EQ(run.window.UserPass.get(), "secret");
    EXPECT_EQ(run.window.PopServ.get(), "127.0.0.1:1110");
    EXPECT_EQ(run.window.Edit1.get(), "20");
    EXPECT_EQ(run.cycle.tickMilliseconds, 20 * 60000 / 200);
    EXPECT_EQ(run.window.Memo6.get(), "Memo6");
    run.program.saveSettings();
    run.program.mainWindow().FormClick();
    EXPECT_TRUE(run.settings.writes.empty());
    EXPECT_FALSE(run.window.uninstalling);
}

TEST_F(StoredSettings, AFailedWriteIsReportedOnceAndTheProgramGoesOn) {
    Run run;
    run.program.startUp();
    run.settings.writeFailure = "Cannot create /ro/Settings.tmp: Read-only file system";
    const auto failures = [&run] {
        return std::count(run.log.begin(), run.log.end(),
                          "Settings could not be saved: " + *run.settings.writeFailure);
    };
    run.window.UserName.set("a");
    run.program.saveSettings();
    run.window.UserName.set("b");
    run.program.saveSettings();
    EXPECT_EQ(failures(), 1);
    // Once a save succeeds, the next failure is news again.
    const std::string reason = *run.settings.writeFailure;
    run.settings.writeFailure.reset();
    run.program.saveSettings();
    run.settings.writeFailure = reason;
    run.window.UserName.set("c");
    run.program.saveSettings();
    EXPECT_EQ(failures(), 2);
    EXPECT_EQ(run.window.UserName.get(), "c");
}

TEST_F(StoredSettings, AnUnreadableStoredTextIsNeverWrittenOver) {
    Run run;
    run.settings.stored.state = StoredText::State::Unreadable;
    run.settings.stored.reason = "Cannot read /home/u/Settings: Permission denied";
    run.program.startUp();
    EXPECT_EQ(run.program.settingsStore().unreadableReason(), run.settings.stored.reason);
    EXPECT_NE(std::find(run.log.begin(), run.log.end(),
                        "Settings could not be read, nothing will be saved: " +
                            run.settings.stored.reason),
              run.log.end());
    run.window.UserName.set("a");
    run.program.saveSettings();
    EXPECT_TRUE(run.settings.writes.empty());
}

TEST_F(StoredSettings, UninstallModeLoadsThenNeverSaves) {
    struct Case {
        std::vector<std::string> arguments;
        bool uninstalling;
    };
    const std::vector<Case> cases = {{{"uninstall"}, true},
                                     {{"UNINSTALL"}, false},
                                     {{"Uninstall"}, false},
                                     {{"uninstall", "now"}, false},
                                     {{}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "none" : c.arguments[0]);
        Run run(c.arguments);
        run.settings.store(join({"EXENAME=/usr/bin/mivo", "UN1=ann", "version=45"}));
        run.program.startUp();
        EXPECT_EQ(run.window.uninstalling, c.uninstalling);
        // The settings are in SET either way: the uninstaller reads EXENAME.
        EXPECT_EQ(run.window.UserName.get(), "ann");
        EXPECT_EQ(run.timers.timers[TimerId::UninstallStep].interval, 500);
        EXPECT_EQ(run.timers.timers[TimerId::UninstallStep].enabled, c.uninstalling);
        EXPECT_EQ(run.ui.isWindowVisible(WindowId::Uninstall), c.uninstalling);
        EXPECT_EQ(run.log.back() == "We UNINSTALL", c.uninstalling);
        run.window.UserName.set("changed");
        run.program.saveSettings();
        EXPECT_EQ(run.settings.writes.size(), c.uninstalling ? 0U : 1U);
    }
}

TEST_F(StoredSettings, FirstActivationStepHidesWhenUninstallingOrMinimisesWhenAsked) {
    struct Case {
        std::vector<std::string> arguments;
        bool startMinimized;
        std::vector<std::string> logAfterActivation;
        std::vector<std::string> uiCalls;
    };
    const std::vector<Case> cases = {
        {{"uninstall"}, true, {"Timer2Timer", "Uninstalling, so hiding ubo"}, {"hide 0"}},
        {{}, true, {"Timer2Timer", "minimizing Mivo"}, {"minimise"}},
        {{}, false, {"Timer2Timer"}, {}},
    };
    for (const Case& c : cases) {
        Run run(c.arguments);
        run.settings.store(join(
            {std::string("StartMinimized=") + (c.startMinimized ? "YES" : "NO"), "version=45"}));
        run.program.startUp();
        run.timers.tick(TimerId::Timer2);
        EXPECT_EQ(run.log.back(), "Timer2Timer");  // waiting for the first activation
        EXPECT_TRUE(run.timers.timers[TimerId::Timer2].enabled);

        run.ui.calls.clear();
        run.program.mainWindow().FormActivate();
        EXPECT_EQ(run.window.Left.get(), c.arguments.empty() ? 0 : run.ui.screen.width);
        const std::size_t before = run.log.size();
        run.timers.tick(TimerId::Timer2);
        EXPECT_EQ(
            std::vector<std::string>(run.log.begin() + static_cast<long>(before), run.log.end()),
            c.logAfterActivation);
        EXPECT_EQ(run.ui.calls, c.uiCalls);
        EXPECT_FALSE(run.timers.timers[TimerId::Timer2].enabled);
    }
}

}  // namespace
}  // namespace mivo
