#include <gtest/gtest.h>

#include "CheckFixture.h"

namespace mivo {
namespace {

using Lines = std::vector<std::string>;

class AccountsDialogFixture : public test::CheckFixture {
protected:
    AccountsDialog& dialog() { return program.accountsDialogBehaviour(); }
    bool shown() const { return ui.isWindowVisible(WindowId::Accounts); }
    // The close box: the window system hides the window.
    void closeBox() { ui.hideWindow(WindowId::Accounts); }
    void markFailed(int account) {
        cycle.accountError[account] = true;
        cycle.CCW[account] = true;
    }
};

TEST_F(AccountsDialogFixture, ShowFitsTheHeightPaintsThenTakesTheAccountsInBeforeAppearing) {
    // Account 2 is new to the dialog; account 3 is in it already.
    window.accountUser(2).set("eve");
    setAccount(3, "ann", "pw", "127.0.0.3");
    markFailed(2);
    markFailed(3);

    Lines steps;
    auto record = [&](const std::string& step) {
        steps.push_back(step + (shown() ? " while shown" : ""));
    };
    accounts.Height.onChange([&] { record("height " + std::to_string(accounts.Height.get())); });
    for (int account : {2, 3}) {
        accounts.numberRed[account].onChange([&, account] {
            record(std::to_string(account) +
                   (accounts.numberRed[account].get() ? " red" : " black"));
        });
    }

    program.mainWindow().MultiPopClick();

    // Taking account 2's row in is no edit: it keeps the error just painted.
    EXPECT_EQ(steps, (Lines{"height 257", "2 red", "3 red"}));
    EXPECT_TRUE(shown());
    EXPECT_FALSE(accounts.errorBoxVisible.get());
    EXPECT_EQ(accounts.USERn[2].get(), "eve");
    for (int account : {2, 3}) {
        SCOPED_TRACE(account);
        EXPECT_TRUE(cycle.accountError[account]);
        EXPECT_TRUE(cycle.CCW[account]);
    }
}

TEST_F(AccountsDialogFixture, EveryShowingFitsTheWindowToTheErrorBox) {
    struct Case {
        const char* errors;
        int height;
        bool errorBox;
    };
    const Case cases[] = {{"", 257, false}, {"(1)Enter Password\r\n", 314, true}, {"", 257, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.errors);
        accounts.Errors.set(c.errors);
        dialog().Show();
        EXPECT_EQ(accounts.Height.get(), c.height);
        EXPECT_EQ(accounts.errorBoxVisible.get(), c.errorBox);
        closeBox();
    }
}

TEST_F(AccountsDialogFixture, EditingAnyFieldOfARowForgivesOnlyThatAccount) {
    for (int account : {1, 5, 8}) {
        for (auto* row : {&accounts.USERn, &accounts.PASSn, &accounts.POPn}) {
            for (int each = 1; each <= kAccountCount; ++each) {
                markFailed(each);
            }
            dialog().RecolourAccountNumbers();
            TextField& field = (*row)[account];
            field.set(field.get() + "x");
            for (int each = 1; each <= kAccountCount; ++each) {
                SCOPED_TRACE(std::to_string(account) + " edited, account " + std::to_string(each));
                const bool edited = each == account;
                EXPECT_EQ(cycle.accountError[each], !edited);
                EXPECT_EQ(cycle.CCW[each], !edited);
                EXPECT_EQ(accounts.numberRed[each].get(), !edited);
            }
        }
    }
}

TEST_F(AccountsDialogFixture, HidingGivesEveryRowBackToTheMainWindow) {
    dialog().Show();
    accounts.POPn[3].set("pop.example:1100");
    accounts.PASSn[8].set("pw8");
    EXPECT_EQ(window.POPn[3].get(), "");  // not before the dialog is hidden

    closeBox();

    EXPECT_EQ(window.POPn[3].get(), "pop.example:1100");
    EXPECT_EQ(window.PASSn[8].get(), "pw8");
}

// Row 1 and the main window's fields are one account: whichever side the
// user changed last is what both show, and what closing the dialog keeps.
TEST_F(AccountsDialogFixture, RowOneAndTheMainWindowShowOneAccountTheLastEditWins) {
    const std::string pinned = "pop3s://127.0.0.1#sha256=ab12";
    struct Case {
        const char* name;
        bool dialogLast;
    };
    for (const Case c : {Case{"main window last", false}, Case{"dialog last", true}}) {
        SCOPED_TRACE(c.name);
        setAccount(1, "bob", "pw", "127.0.0.1");
        dialog().Show();
        accounts.USERn[1].set("alice");
        window.PopServ.set(pinned);
        if (c.dialogLast) {
            accounts.PASSn[1].set("secret");
        }
        for (const bool closed : {false, true}) {
            SCOPED_TRACE(closed ? "after closing" : "while open");
            if (closed) {
                closeBox();
            }
            EXPECT_EQ(window.UserName.get(), "alice");
            EXPECT_EQ(window.PopServ.get(), pinned);
            EXPECT_EQ(accounts.POPn[1].get(), pinned);
            EXPECT_EQ(window.UserPass.get(), c.dialogLast ? "secret" : "pw");
            EXPECT_EQ(accounts.PASSn[1].get(), window.UserPass.get());
        }
    }
    // The user's edit in row 1 is the main window's account-1 edit too.
    cycle.settingsOk = false;
    dialog().Show();
    accounts.USERn[1].set("carol");
    EXPECT_TRUE(cycle.settingsOk);
}

TEST_F(AccountsDialogFixture, CloseEmptiesTheErrorBoxTheCloseBoxKeepsIt) {
    const std::string errors = "Account #1 ERROR = -ERR\r\n\r\n";
    accounts.Errors.set(errors);
    dialog().Show();
    accounts.USERn[2].set("eve");
    closeBox();
    EXPECT_FALSE(shown());
    EXPECT_EQ(accounts.Errors.get(), errors);
    dialog().Show();
    EXPECT_EQ(accounts.Height.get(), 314);

    accounts.USERn[2].set("bob");
    dialog().Button1Click();
    EXPECT_FALSE(shown());
    EXPECT_EQ(accounts.Errors.get(), "");
    EXPECT_EQ(window.USERn[2].get(), "bob");
    dialog().Show();
    EXPECT_EQ(accounts.Height.get(), 257);
}

TEST_F(AccountsDialogFixture, AnErrorWhileTheDialogIsOpenKeepsWhatTheUserIsTyping) {
    dialog().Show();
    accounts.USERn[3].set("half-typed");
    window.USERn[3].set("stored");
    markFailed(2);
    accounts.Errors.set("(2)Enter Password\r\n");

    dialog().Show();

    EXPECT_EQ(accounts.USERn[3].get(), "half-typed");
    EXPECT_EQ(accounts.Height.get(), 314);
    EXPECT_TRUE(accounts.numberRed[2].get());
}

TEST_F(AccountsDialogFixture, AClickOnTheBackgroundRepaintsTheNumbers) {
    dialog().Show();
    markFailed(4);
    EXPECT_FALSE(accounts.numberRed[4].get());
    dialog().FormClick();
    EXPECT_TRUE(accounts.numberRed[4].get());
    cycle.accountError[4] = false;
    dialog().FormClick();
    EXPECT_FALSE(accounts.numberRed[4].get());
}

// The first showing of a run, by the error it reports, takes in accounts
// the dialog never held: the reported account keeps its red number and its
// server's greeting, so its next network failure blames the network.
TEST(AccountsDialogFirstShowing, ForgivesTheAccountItReportsNothing) {
    for (const int account : {1, 2}) {
        SCOPED_TRACE(account);
        test::ProgramOnFakes p;
        // As the settings load them, never typed into the dialog.
        p.window.accountUser(account).set("bob");
        p.window.accountPass(account).set("pw");
        p.window.accountPop(account).set("127.0.0.1");
        p.cycle.CCW[account] = true;
        p.checkNow();
        p.accept();
        p.say("+OK ready\r\n+OK\r\n-ERR bad password\r\n+OK bye\r\n");
        p.sockets.serverCloses(p.server());
        EXPECT_TRUE(p.ui.isWindowVisible(WindowId::Accounts));
        EXPECT_TRUE(p.accounts.numberRed[account].get());
        EXPECT_TRUE(p.cycle.accountError[account]);
        EXPECT_TRUE(p.cycle.CCW[account]);

        p.checkNow();
        p.sockets.connectFails(p.server(), 10061);
        EXPECT_TRUE(p.captioned("Network Inactive - Mivo"));
        EXPECT_FALSE(p.logged("Account #" + std::to_string(account) +
                              " Error while opening connection to host (127.0.0.1)"));
    }
}

// The error list is shown at the newest error's first line: after a refused
// password its last line is only the server's goodbye.
TEST_F(AccountsDialogFixture, TheNewestErrorIsShownFromItsFirstLine) {
    setAccount(1, "bob", "pw", "127.0.0.1");
    for (int check = 0; check < 400; ++check) {
        checkNow();
        accept();
        say("+OK ready\r\n+OK\r\n-ERR bad password\r\n+OK Logging out\r\n");
        sockets.serverCloses(server());
        const std::string& errors = accounts.Errors.get();
        ASSERT_LT(accounts.newestErrorStart, errors.size());
        ASSERT_EQ(errors.substr(accounts.newestErrorStart),
                  "Account #1 ERROR = -ERR bad password\r\n+OK Logging out\r\n\r\n")
            << "check " << check << ", the list cut back to " << errors.size();
    }
    // After a list the user typed into without a closing line break.
    accounts.Errors.set("typed");
    setAccount(1, "bob", "", "127.0.0.1");
    checkNow();
    EXPECT_EQ(accounts.Errors.get().substr(accounts.newestErrorStart), "(1)Enter Password");
}

// The check shows the dialog through the same steps as the button, and
// the account it reports stays red whether or not the dialog held it.
TEST_F(AccountsDialogFixture, TheChecksErrorsShowTheDialogLikeItsButton) {
    for (const bool heldByTheDialog : {true, false}) {
        SCOPED_TRACE(heldByTheDialog ? "held by the dialog" : "new to the dialog");
        program.mainWindow().Button2Click();
        closeBox();
        accounts.Errors.set("");
        const std::string user = heldByTheDialog ? "bob" : "carol";
        if (heldByTheDialog) {
            setAccount(1, user, "", "127.0.0.1");
        } else {
            window.UserName.set(user);
            window.UserPass.set("");
        }
        checkNow();
        EXPECT_TRUE(shown());
        EXPECT_EQ(accounts.Errors.get(), "(1)Enter Password\r\n");
        EXPECT_EQ(accounts.Height.get(), 314);
        EXPECT_EQ(accounts.USERn[1].get(), user);
        EXPECT_TRUE(accounts.numberRed[1].get());
        EXPECT_TRUE(cycle.accountError[1]);
    }
}

}  // namespace
}  // namespace mivo
