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

    // Taking account 2's row in forgave it the error painted a moment before.
    EXPECT_EQ(steps, (Lines{"height 257", "2 red", "3 red", "2 black"}));
    EXPECT_TRUE(shown());
    EXPECT_FALSE(accounts.errorBoxVisible.get());
    EXPECT_EQ(accounts.USERn[2].get(), "eve");
    EXPECT_FALSE(cycle.accountError[2]);
    EXPECT_FALSE(cycle.CCW[2]);
    EXPECT_TRUE(cycle.accountError[3]);
    EXPECT_TRUE(cycle.CCW[3]);
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
    accounts.USERn[1].set("alice");
    cycle.settingsOk = false;
    EXPECT_EQ(window.UserName.get(), "");  // not before the dialog is hidden

    closeBox();

    EXPECT_EQ(window.POPn[3].get(), "pop.example:1100");
    EXPECT_EQ(window.PASSn[8].get(), "pw8");
    EXPECT_EQ(window.UserName.get(), "alice");
    EXPECT_TRUE(cycle.settingsOk);  // the main window's account-1 handler ran
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
    accounts.USERn[1].set("half-typed");
    window.UserName.set("stored");
    markFailed(2);
    accounts.Errors.set("(2)Enter Password\r\n");

    dialog().Show();

    EXPECT_EQ(accounts.USERn[1].get(), "half-typed");
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

// The check shows the dialog through the same steps as the button: an
// account the dialog already holds stays red; one it has never held is
// taken in, and so forgiven, as it appears.
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
        EXPECT_EQ(accounts.numberRed[1].get(), heldByTheDialog);
        EXPECT_EQ(cycle.accountError[1], heldByTheDialog);
    }
}

}  // namespace
}  // namespace mivo
