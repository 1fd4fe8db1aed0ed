#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTest>

#include "ProgramFixture.h"

namespace mivo::test {
namespace {

using MainWindowPanel = ProgramFixture;

// The panel as laid out: left, top, width, height in client pixels.
struct ControlRow {
    const char* name;
    QRect geometry;
    const char* caption;
};
const ControlRow kControls[] = {
    {"CheckBox2", {4, 2, 104, 17}, "Check mail every:"},
    {"Edit1", {109, 0, 40, 21}, "20"},
    {"CheckBox1", {279, 1, 130, 17}, "bring Applicatin to front."},
    {"UserName", {289, 21, 121, 21}, ""},
    {"UserPass", {289, 44, 121, 21}, ""},
    {"PopServ", {289, 67, 121, 21}, ""},
    {"Button4", {38, 25, 70, 28}, "Check now!"},
    {"UserOptions", {112, 25, 94, 28}, "Close Options <-"},
    {"Help", {38, 56, 70, 28}, "Help"},
    {"Button5", {112, 56, 94, 28}, "Adv. Options"},
    {"Image1", {2, 50, 32, 35}, ""},
    {"Button1", {38, 87, 54, 27}, "Minimise"},
    {"Button2", {95, 87, 44, 27}, "Reset"},
    {"WebLaunch", {143, 87, 63, 27}, "Tavrel Ltd"},
    {"MultiPop", {212, 92, 198, 22}, "Config for Multiple POP accounts"},
};

// Labels size themselves; each must end before the control to its right.
struct LabelRow {
    const char* name;
    QPoint at;
    const char* caption;
    int endsBefore;
};
const LabelRow kLabels[] = {
    {"Minutes", {152, 3}, "Minutes", 220},    {"Label7", {220, 2}, "If new mail :", 279},
    {"Label3", {230, 24}, "User Name", 289},  {"Label4", {212, 47}, "User Password", 289},
    {"Label5", {231, 70}, "Pop Server", 289}, {"Version", {1, 99}, "Ver 4.5", 38},
};

QString captionOf(QWidget& control) {
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        return button->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        return edit->text();
    }
    return {};
}

void click(QWidget& control) {
    QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, control.rect().center());
}

TEST_F(MainWindowPanel, EveryControlSitsWhereTheLayoutPutsItWithItsWholeCaption) {
    EXPECT_EQ(ubo().size(), QSize(412, 116));
    EXPECT_EQ(ubo().minimumSize(), ubo().maximumSize());  // fixed border
    EXPECT_EQ(ubo().windowTitle(), "Mivo");
    const Qt::WindowFlags flags = ubo().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(ubo().font().pixelSize(), 11);
    EXPECT_TRUE(QFontInfo(ubo().font()).family().contains("Sans"))
        << QFontInfo(ubo().font()).family().toStdString();

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        QWidget& widget = control<QWidget>(row.name);
        EXPECT_EQ(widget.geometry(), row.geometry);
        EXPECT_EQ(captionOf(widget), row.caption);
        if (auto* box = qobject_cast<QCheckBox*>(&widget)) {
            EXPECT_TRUE(box->isChecked());
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const QRect contents =
                box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            const int inkRight =
                contents.left() + box->fontMetrics().tightBoundingRect(box->text()).right();
            EXPECT_LT(inkRight, row.geometry.width()) << "caption clipped";
        } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
            const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
            EXPECT_LE(textWidth + 6, row.geometry.width()) << "caption clipped";
        }
    }
    for (const LabelRow& row : kLabels) {
        SCOPED_TRACE(row.name);
        QLabel& label = control<QLabel>(row.name);
        EXPECT_EQ(label.pos(), row.at);
        EXPECT_EQ(label.text(), row.caption);
        EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.text()));
        EXPECT_LT(label.geometry().right(), row.endsBefore);
    }
}

TEST_F(MainWindowPanel, PasswordShowsOneStarPerCharacterAndFocusStartsOnUserName) {
    QLineEdit& userPass = control<QLineEdit>("UserPass");
    EXPECT_EQ(userPass.echoMode(), QLineEdit::Password);
    QStyleOptionFrame option;
    option.initFrom(&userPass);
    EXPECT_EQ(
        userPass.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, &userPass),
        '*');
    QTest::keyClicks(&userPass, "secret");
    EXPECT_EQ(model().UserPass.get(), "secret");
    EXPECT_EQ(userPass.displayText(), "******");

    EXPECT_EQ(ubo().focusWidget(), &control<QLineEdit>("UserName"));
}

TEST_F(MainWindowPanel, EditsReachTheModelAndTheModelReachesTheWidgets) {
    parts.program.cycleState().accountError[1] = true;
    parts.program.cycleState().settingsOk = false;
    QTest::keyClicks(&control<QLineEdit>("PopServ"), "127.0.0.1");
    EXPECT_EQ(model().PopServ.get(), "127.0.0.1");
    EXPECT_FALSE(parts.program.cycleState().accountError[1]);  // UserNameChange ran
    EXPECT_TRUE(parts.program.cycleState().settingsOk);

    model().UserName.set("alice");
    EXPECT_EQ(control<QLineEdit>("UserName").text(), "alice");
    model().CheckBox1.set(false);
    EXPECT_FALSE(control<QCheckBox>("CheckBox1").isChecked());
    model().Caption.set("New Mail - Mivo");
    EXPECT_EQ(ubo().windowTitle(), "New Mail - Mivo");
    // A server's answer in the caption: one blank for each line break.
    model().Caption.set("-ERR bad password\r\n - Mivo");
    EXPECT_EQ(ubo().windowTitle(), "-ERR bad password  - Mivo");
    EXPECT_EQ(model().Caption.get(), "-ERR bad password\r\n - Mivo");
}

TEST_F(MainWindowPanel, TypingClickingOrEnteringTheMinutesAppliesTheInterval) {
    QLineEdit& edit1 = control<QLineEdit>("Edit1");
    auto applied = [this] {
        const std::string& log = parts.program.log().text();
        int count = 0;
        for (std::size_t at = log.find("Timer Activated!!"); at != std::string::npos;
             at = log.find("Timer Activated!!", at + 1)) {
            ++count;
        }
        return count;
    };
    // Start-up applies the interval once before any of this.
    const int atStart = applied();
    click(edit1);
    EXPECT_EQ(applied(), atStart + 1);
    EXPECT_EQ(parts.timers.timers[TimerId::Timer1].interval, 6000);

    edit1.selectAll();
    QTest::keyClicks(&edit1, "5");
    EXPECT_EQ(model().Edit1.get(), "5");
    EXPECT_EQ(applied(), atStart + 2);
    EXPECT_EQ(parts.timers.timers[TimerId::Timer1].interval, 1500);

    QFocusEvent entered(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&edit1, &entered);
    EXPECT_EQ(applied(), atStart + 3);
    QFocusEvent windowBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&edit1, &windowBack);
    EXPECT_EQ(applied(), atStart + 3);
}

// Clearing the box to type a new number leaves it to the user; Enter shows
// the minute an empty or zero box stands for.
TEST_F(MainWindowPanel, ClearingTheMinutesLeavesThemToTheUserUntilEnter) {
    QLineEdit& edit1 = control<QLineEdit>("Edit1");
    edit1.setFocus();
    edit1.selectAll();
    QTest::keyClick(&edit1, Qt::Key_Backspace);
    EXPECT_EQ(edit1.text(), "");
    EXPECT_EQ(parts.timers.timers[TimerId::Timer1].interval, 300);
    QTest::keyClicks(&edit1, "5");
    EXPECT_EQ(edit1.text(), "5");
    EXPECT_EQ(parts.timers.timers[TimerId::Timer1].interval, 1500);

    edit1.selectAll();
    QTest::keyClicks(&edit1, "0");
    EXPECT_EQ(edit1.text(), "0");
    QTest::keyClick(&edit1, Qt::Key_Return);
    EXPECT_EQ(edit1.text(), "1");
    EXPECT_EQ(model().Edit1.get(), "1");
    EXPECT_EQ(parts.timers.timers[TimerId::Timer1].interval, 300);
}

TEST_F(MainWindowPanel, CloseOptionsNarrowsAndReopensTheWindow) {
    QPushButton& userOptions = control<QPushButton>("UserOptions");
    click(userOptions);
    EXPECT_EQ(model().Width.get(), 214);
    EXPECT_EQ(ubo().width(), 214 - layout::kFrameWidth);
    EXPECT_EQ(userOptions.text(), "Open Options ->");
    ubo().grab().save(screenshotPath("main-window-narrow.png"));

    click(userOptions);
    EXPECT_EQ(model().Width.get(), 418);
    EXPECT_EQ(ubo().width(), 412);
    EXPECT_EQ(userOptions.text(), "Close Options <-");
}

TEST_F(MainWindowPanel, AdvOptionsShowsThenHidesTheDialog) {
    QPushButton& button5 = control<QPushButton>("Button5");
    click(button5);
    EXPECT_TRUE(windows->advancedOptions().isVisible());
    EXPECT_EQ(button5.text(), "Close Adv.Opt.");
    click(button5);
    EXPECT_FALSE(windows->advancedOptions().isVisible());
    EXPECT_EQ(button5.text(), " Adv. Options");
}

TEST_F(MainWindowPanel, AccountsButtonShowsTheAccountsDialog) {
    click(control<QPushButton>("MultiPop"));
    EXPECT_TRUE(windows->accountsDialog().isVisible());
}

TEST_F(MainWindowPanel, CloseQueryRefusesWhileAConnectionIsOpenOrOpening) {
    struct Case {
        bool connected;
        bool connecting;
        bool closes;
    };
    const Case cases[] = {{true, false, false}, {false, true, false}, {false, false, true}};
    for (const Case& c : cases) {
        parts.program.cycleState().connected = c.connected;
        parts.program.cycleState().connecting = c.connecting;
        ubo().show();
        EXPECT_EQ(ubo().close(), c.closes);
        EXPECT_EQ(ubo().isVisible(), !c.closes);
        EXPECT_TRUE(parts.program.cycleState().terminating);
        EXPECT_EQ(model().Caption.get(), "Terminateing Mivo");
        EXPECT_EQ(parts.ui.terminationRequested(), c.closes);
    }
}

TEST_F(MainWindowPanel, RightClickOnThePictureOpensTheMakersMenu) {
    QLabel& image1 = control<QLabel>("Image1");
    ASSERT_FALSE(image1.pixmap().isNull());
    EXPECT_EQ(image1.pixmap().size(), QSize(32, 32));
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10),
                                 image1.mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(&image1, &rightClick);
    QMenu& menu = control<QMenu>("PopupMenu1");
    EXPECT_TRUE(menu.isVisible());
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions().front()->text(), "Tavrel LTD");
    menu.hide();
}

TEST_F(MainWindowPanel, WideWindowPicture) {
    model().UserName.set("alice");
    model().UserPass.set("secret");
    model().PopServ.set("127.0.0.1:1100");
    model().TickCount = 59;
    parts.program.mainWindow().Timer1Timer();
    ubo().grab().save(screenshotPath("main-window-wide.png"));
}

}  // namespace
}  // namespace mivo::test
