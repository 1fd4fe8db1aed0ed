#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "ProgramFixture.h"

namespace mivo::test {
namespace {

class AccountsDialogWindow : public ProgramFixture {
protected:
    TMultiPOP& dialog() { return windows->accountsDialog(); }

    template <typename Control>
    Control& dialogControl(const QString& name) {
        Control* found = dialog().findChild<Control*>(name);
        if (found == nullptr) {
            throw std::runtime_error("no control " + name.toStdString());
        }
        return *found;
    }
    QLineEdit& edit(const char* kind, int account) {
        return dialogControl<QLineEdit>(QString::fromLatin1(kind) + QString::number(account));
    }
    QColor numberColour(int account) {
        return dialogControl<QLabel>(QStringLiteral("E") + QString::number(account))
            .palette()
            .color(QPalette::WindowText);
    }
    int outerHeight() { return dialog().height() + layout::kFrameWidth + layout::kTitleBarHeight; }

    void clickMultiPop() { click(control<QPushButton>("MultiPop")); }
    static void click(QWidget& widget) {
        QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, widget.rect().center());
    }

    CycleState& cycle() { return parts.program.cycleState(); }
    AccountsDialogModel& accounts() { return parts.program.accountsDialog(); }
};

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

TEST_F(AccountsDialogWindow, RowsInAccountOrderWithStarredLengthLimitedPasswords) {
    EXPECT_EQ(dialog().windowTitle(), "MultiPOP");
    EXPECT_FALSE(dialog().windowFlags() & Qt::WindowMinimizeButtonHint);
    const char* headings[][2] = {
        {"Label3", "User Name"}, {"Label4", "User Password"}, {"Label5", "Pop Server"}};
    for (const auto& [name, caption] : headings) {
        EXPECT_EQ(dialogControl<QLabel>(QString::fromLatin1(name)).text(), caption);
    }

    std::vector<QWidget*> expectedOrder;
    for (int account = 1; account <= 8; ++account) {
        SCOPED_TRACE(account);
        QLabel& number = dialogControl<QLabel>(QStringLiteral("E") + QString::number(account));
        EXPECT_EQ(number.text(), QString::number(account));
        EXPECT_LT(number.geometry().right(), edit("USER", account).x());
        EXPECT_NEAR(number.geometry().center().y(), edit("USER", account).geometry().center().y(),
                    1)
            << "the number is not level with its row";
        for (const char* kind : {"USER", "PASS", "POP"}) {
            QLineEdit& field = edit(kind, account);
            const bool password = std::string(kind) == "PASS";
            EXPECT_EQ(field.echoMode() == QLineEdit::Password, password) << kind;
            EXPECT_EQ(field.maxLength(), password ? 439 : 32767) << kind;
            expectedOrder.push_back(&field);
        }
        if (account > 1) {
            EXPECT_GT(edit("USER", account).y(), edit("POP", account - 1).geometry().bottom());
        }
    }
    expectedOrder.push_back(&dialogControl<QPlainTextEdit>(QStringLiteral("Errors")));
    expectedOrder.push_back(&dialogControl<QPushButton>(QStringLiteral("Button1")));
    std::vector<QWidget*> order;
    QWidget* next = expectedOrder.front();
    for (std::size_t i = 0; i < expectedOrder.size(); ++i) {
        order.push_back(next);
        do {
            next = next->nextInFocusChain();
        } while (next->focusPolicy() == Qt::NoFocus || !dialog().isAncestorOf(next));
    }
    EXPECT_EQ(order, expectedOrder);

    QLineEdit& pass1 = edit("PASS", 1);
    QTest::keyClicks(&pass1, QString(440, QLatin1Char('p')));
    EXPECT_EQ(accounts().PASSn[1].get(), std::string(439, 'p'));
    EXPECT_EQ(pass1.displayText(), QString(439, QLatin1Char('*')));
}

TEST_F(AccountsDialogWindow, ShortWithoutErrorsTallWithTheHeadingAndTheirLines) {
    QLabel& er = dialogControl<QLabel>(QStringLiteral("ER"));
    QPlainTextEdit& errors = dialogControl<QPlainTextEdit>(QStringLiteral("Errors"));
    QPushButton& button1 = dialogControl<QPushButton>(QStringLiteral("Button1"));
    EXPECT_EQ(er.font().pixelSize(), 25);
    EXPECT_EQ(er.text(), "ERRORS with POP!");
    EXPECT_GE(er.width(), er.fontMetrics().horizontalAdvance(er.text()));
    EXPECT_LT(er.geometry().right(), button1.x()) << "the heading runs into Close";
    EXPECT_EQ(errors.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    model().UserName.set("bob");
    model().PopServ.set("127.0.0.1");
    clickMultiPop();
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(outerHeight(), 257);
    EXPECT_FALSE(er.isVisible());
    EXPECT_FALSE(errors.isVisible());
    EXPECT_TRUE(dialog().rect().contains(button1.geometry())) << "Close is cut off";
    EXPECT_EQ(edit("USER", 1).text(), "bob");
    dialog().grab().save(screenshotPath("accounts-dialog.png"));

    // The account has no password: the check reports it in the dialog, which
    // grows to show the error, and its number turns red.
    dialog().close();
    cycle().CCW[1] = true;
    click(control<QPushButton>("Button4"));
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(outerHeight(), 314);
    EXPECT_TRUE(er.isVisible());
    EXPECT_TRUE(errors.isVisible());
    EXPECT_EQ(errors.toPlainText(), "(1)Enter Password\n");
    EXPECT_TRUE(dialog().rect().contains(errors.geometry()));
    EXPECT_EQ(numberColour(1), kRed);
    EXPECT_EQ(numberColour(2), kBlack);
    dialog().grab().save(screenshotPath("accounts-dialog-errors.png"));

    // Typing into the red row forgives the account.
    QTest::keyClicks(&edit("PASS", 1), "pw");
    EXPECT_EQ(numberColour(1), kBlack);
    EXPECT_FALSE(cycle().accountError[1]);
    EXPECT_FALSE(cycle().CCW[1]);
}

TEST_F(AccountsDialogWindow, TheCloseBoxKeepsTheErrorsCloseEmptiesThemBothGiveTheRowsBack) {
    accounts().Errors.set("Account #3 ERROR = -ERR\r\n\r\n");
    clickMultiPop();
    QTest::keyClicks(&edit("USER", 1), "alice");
    QTest::keyClicks(&edit("POP", 3), "127.0.0.3");
    EXPECT_EQ(model().POPn[3].get(), "");  // not until hidden

    EXPECT_TRUE(dialog().close());
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(control<QLineEdit>("UserName").text(), "alice");
    EXPECT_EQ(model().POPn[3].get(), "127.0.0.3");
    EXPECT_EQ(accounts().Errors.get(), "Account #3 ERROR = -ERR\r\n\r\n");

    clickMultiPop();
    EXPECT_EQ(outerHeight(), 314);
    QTest::keyClicks(&edit("PASS", 8), "pw8");
    click(dialogControl<QPushButton>(QStringLiteral("Button1")));
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(model().PASSn[8].get(), "pw8");
    EXPECT_EQ(accounts().Errors.get(), "");
    EXPECT_EQ(dialogControl<QPlainTextEdit>(QStringLiteral("Errors")).toPlainText(), "");
    clickMultiPop();
    EXPECT_EQ(outerHeight(), 257);
}

// Row 1 and the main window's fields are one account: what the user types
// on either side shows on the other at once, and closing the dialog keeps it.
TEST_F(AccountsDialogWindow, RowOneAndTheMainWindowShowOneAccountWhileTheDialogIsOpen) {
    model().UserName.set("bob");
    model().PopServ.set("127.0.0.1");
    clickMultiPop();
    QLineEdit& popServ = control<QLineEdit>("PopServ");
    popServ.selectAll();
    QTest::keyClicks(&popServ, "pop3s://127.0.0.1#sha256=ab12");
    EXPECT_EQ(edit("POP", 1).text(), "pop3s://127.0.0.1#sha256=ab12");
    QTest::keyClicks(&edit("USER", 1), "by");
    EXPECT_EQ(control<QLineEdit>("UserName").text(), "bobby");

    EXPECT_TRUE(dialog().close());
    EXPECT_EQ(popServ.text(), "pop3s://127.0.0.1#sha256=ab12");
    EXPECT_EQ(model().UserName.get(), "bobby");
}

// A refused password ends the error list with the server's goodbye; the
// list shows the newest error from its first line, where the reason is.
TEST_F(AccountsDialogWindow, TheErrorBoxShowsTheNewestErrorFromItsFirstLine) {
    std::string older;
    for (int line = 1; line <= 40; ++line) {
        older += "(2)Enter Password\r\n";
    }
    accounts().Errors.set(older);
    model().UserName.set("bob");
    model().UserPass.set("pw");
    model().PopServ.set("127.0.0.1");
    clickMultiPop();
    click(control<QPushButton>("Button4"));
    FakeSocketPort& sockets = parts.sockets;
    const SocketHandle server = sockets.lastSocket();
    sockets.connectSucceeds(server);
    sockets.serverSends(server, "+OK ready\r\n+OK\r\n-ERR [AUTH] Invalid login\r\n");
    for (int line = 1; line <= 30; ++line) {
        sockets.serverSends(server, "+OK Logging out\r\n");
    }
    QPlainTextEdit& errors = dialogControl<QPlainTextEdit>(QStringLiteral("Errors"));
    ASSERT_TRUE(errors.isVisible());
    const QTextBlock reason = errors.document()->findBlockByNumber(40);
    ASSERT_EQ(reason.text(), "Account #1 ERROR = -ERR [AUTH] Invalid login");
    const QRect firstLine = errors.cursorRect(QTextCursor(reason));
    EXPECT_TRUE(errors.viewport()->rect().contains(firstLine))
        << "the reason is out of sight at " << firstLine.y();
    EXPECT_GT(errors.verticalScrollBar()->value(), 0) << "the older errors are scrolled away";
    dialog().grab().save(screenshotPath("accounts-dialog-newest-error.png"));
}

TEST_F(AccountsDialogWindow, WhatIsTypedInAnOpenDialogIsSavedWhenTheProgramEnds) {
    clickMultiPop();
    QTest::keyClicks(&edit("USER", 5), "eve");
    windows.reset();
    ASSERT_FALSE(parts.settings.writes.empty());
    EXPECT_NE(parts.settings.writes.back().find("\r\nUN5=eve\r\n"), std::string::npos);
}

TEST_F(AccountsDialogWindow, TheErrorBoxKeepsCrLfLineEndsThroughTheUsersEdits) {
    accounts().Errors.set("Account #1 ERROR = -ERR\r\n");
    clickMultiPop();
    QPlainTextEdit& errors = dialogControl<QPlainTextEdit>(QStringLiteral("Errors"));
    errors.moveCursor(QTextCursor::End);
    QTest::keyClicks(&errors, "seen");
    QTest::keyClick(&errors, Qt::Key_Return);
    EXPECT_EQ(accounts().Errors.get(), "Account #1 ERROR = -ERR\r\nseen\r\n");
    accounts().Errors.edit([](std::string& text) { text += "(2)Enter Password\r\n"; });
    EXPECT_EQ(errors.toPlainText(), "Account #1 ERROR = -ERR\nseen\n(2)Enter Password\n");
}

TEST_F(AccountsDialogWindow, AClickOnTheBackgroundRepaintsTheNumbersAClickOnANumberDoesNot) {
    clickMultiPop();
    cycle().accountError[6] = true;
    QLabel& e6 = dialogControl<QLabel>(QStringLiteral("E6"));
    click(e6);
    EXPECT_EQ(numberColour(6), kBlack);
    QTest::mouseClick(&dialog(), Qt::LeftButton, Qt::NoModifier, QPoint(2, dialog().height() - 2));
    EXPECT_EQ(numberColour(6), kRed);
}

}  // namespace
}  // namespace mivo::test
