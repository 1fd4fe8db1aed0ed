#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "MailAnimation.h"
#include "ProgramFixture.h"
#include "WindowSetup.h"

namespace mivo::test {
namespace {

class NewMailWindowGui : public ProgramFixture {
protected:
    TForm1& form() { return windows->newMailWindow(); }
    template <typename Control>
    Control& child(const QString& name) {
        Control* found = form().findChild<Control*>(name);
        if (found == nullptr) {
            throw std::runtime_error("no control " + name.toStdString());
        }
        return *found;
    }
    QLabel& image(int number) { return child<QLabel>(QStringLiteral("Image%1").arg(number)); }
    QPlainTextEdit& memo1() { return child<QPlainTextEdit>(QStringLiteral("Memo1")); }
    std::vector<int> visibleImages() {
        std::vector<int> shown;
        for (int number = 1; number <= NewMailWindowModel::kImageCount; ++number) {
            if (image(number).isVisible()) {
                shown.push_back(number);
            }
        }
        return shown;
    }
    void animationTick() { parts.timers.tick(TimerId::NewMailAnimation); }
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&form(), &activation);
    }
    QPoint centreFor(QSize client) {
        const ScreenSize screen = parts.ui.screenSize();
        const QSize outer = outerSizeFor(client);
        return {(screen.width - outer.width()) / 2, (screen.height - outer.height()) / 2};
    }
    // What the end of a check does with three new messages.
    void announceThreeMessages() {
        model().NewMailOpen = true;
        parts.program.newMailWindow().Memo1.set(
            "    alice@127.0.0.1  Wed Jan 03 09:05:07 2001\r\n"
            "Bob Smith <bob@example.org>\tLunch on Friday?\r\n"
            "Carol <carol@example.org>\tQuarterly figures, second draft\r\n"
            "    team@127.0.0.2  Wed Jan 03 09:05:07 2001\r\n"
            "Dave <dave@example.org>\tBuild is green again\r\n");
        parts.program.newMailWindowBehaviour().Show();
    }
};

TEST_F(NewMailWindowGui, LayoutAtCreation) {
    EXPECT_EQ(form().windowTitle(), "You Have New Mail!!");
    EXPECT_TRUE(form().windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form().size(), clientSizeFor(TForm1::outerSize()));

    EXPECT_EQ(memo1().geometry(), QRect(120, 0, form().width() - 121, form().height() - 2));
    EXPECT_TRUE(memo1().isReadOnly());
    EXPECT_EQ(memo1().lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo1().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo1().palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(memo1().font().pixelSize(), 11);

    QPushButton& done = child<QPushButton>(QStringLiteral("Done"));
    QPushButton& launch = child<QPushButton>(QStringLiteral("Launch"));
    EXPECT_EQ(done.geometry(), QRect(21, 79, 77, 22));
    EXPECT_EQ(done.text(), "Done");
    EXPECT_EQ(launch.geometry(), QRect(21, 104, 77, 22));
    EXPECT_EQ(launch.text(), "Launch Email");
    // No e-mail program is known before the settings are loaded.
    EXPECT_FALSE(launch.isEnabled());

    QCheckBox& bring = child<QCheckBox>(QStringLiteral("bringAppToFront"));
    EXPECT_TRUE(bring.isChecked());
    EXPECT_TRUE(bring.isHidden());
    for (int number = 1; number <= NewMailWindowModel::kImageCount; ++number) {
        EXPECT_EQ(image(number).geometry(), QRect(30, 15, 60, 60)) << number;
        EXPECT_TRUE(image(number).isHidden()) << number;
    }
    EXPECT_EQ(child<QAction>(QStringLiteral("TavrelLTD1")).text(), "Tavrel LTD");
}

TEST_F(NewMailWindowGui, TheThirtyEightPicturesAreAllDifferent) {
    announceThreeMessages();
    std::vector<QImage> frames;
    for (int number = 1; number <= NewMailWindowModel::kImageCount; ++number) {
        animationTick();
        frames.push_back(image(number).pixmap().toImage());
        ASSERT_EQ(frames.back().size(), QSize(60, 60));
    }
    for (std::size_t a = 0; a < frames.size(); ++a) {
        for (std::size_t b = a + 1; b < frames.size(); ++b) {
            EXPECT_NE(frames[a], frames[b]) << "Image" << a + 1 << " and Image" << b + 1;
        }
    }
    // A sheet of the whole round for a person to look at.
    QImage sheet(10 * 64 + 4, 4 * 64 + 4, QImage::Format_RGB32);
    sheet.fill(form().palette().color(QPalette::Window));
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        painter.drawImage(4 + static_cast<int>(i % 10) * 64, 4 + static_cast<int>(i / 10) * 64,
                          frames[i]);
    }
    painter.end();
    sheet.save(screenshotPath("new-mail-animation.png"));
}

TEST_F(NewMailWindowGui, ShowsOnePictureATimeAndStartsAgainAtTheFirstWhenShownAgain) {
    model().EmailProgram.set("thunderbird");
    announceThreeMessages();
    ASSERT_TRUE(form().isVisible());
    EXPECT_TRUE(child<QPushButton>(QStringLiteral("Launch")).isEnabled());
    EXPECT_TRUE(memo1().toPlainText().contains("Lunch on Friday?"));
    EXPECT_EQ(visibleImages(), std::vector<int>{});
    for (int number = 1; number <= 30; ++number) {
        animationTick();
        ASSERT_EQ(visibleImages(), std::vector<int>{number});
        if (number == 1 || number % 10 == 0) {
            const std::string name = "new-mail-window-frame" + std::to_string(number) + ".png";
            form().grab().save(screenshotPath(name.c_str()));
        }
    }
    form().hide();
    EXPECT_FALSE(parts.timers.timers[TimerId::NewMailAnimation].enabled);
    parts.program.newMailWindowBehaviour().Show();
    EXPECT_EQ(visibleImages(), std::vector<int>{});
    animationTick();
    EXPECT_EQ(visibleImages(), std::vector<int>{1});
}

TEST_F(NewMailWindowGui, ResizingKeepsRoomForTheButtonsAndTheListFillsTheRest) {
    struct Case {
        bool numberOnly;
        QSize requested;
        QSize fitted;
    };
    const Case cases[] = {
        {false, QSize(600, 300), QSize(600, 300)},
        {false, QSize(300, 50), QSize(300, 133)},
        {false, QSize(100, 200), QSize(139, 200)},
        // Told only the number of messages, the window may be narrow.
        {true, QSize(100, 50), QSize(100, 133)},
    };
    announceThreeMessages();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.numberOnly << " " << c.requested.width() << "x" << c.requested.height());
        model().NewMLevelNumber.set(c.numberOnly);
        form().resize(c.requested);
        EXPECT_EQ(form().size(), c.fitted);
        EXPECT_EQ(memo1().geometry(),
                  QRect(120, 0, std::max(0, c.fitted.width() - 121), c.fitted.height() - 2));
    }
}

TEST_F(NewMailWindowGui, ActivationBringsTheWindowBackToTheMiddleWithLaunchReadyAgain) {
    model().EmailProgram.set("C:\\Mail\\mail.exe");
    announceThreeMessages();
    QPushButton& launch = child<QPushButton>(QStringLiteral("Launch"));
    parts.processes.results = {2};
    QTest::mouseClick(&launch, Qt::LeftButton);
    EXPECT_EQ(launch.text(), "Launch Failed");

    form().resize(300, 200);
    form().move(5, 5);
    activate();
    EXPECT_EQ(form().pos(), centreFor(QSize(300, 200)));
    EXPECT_EQ(launch.text(), "Launch Email");
    model().EmailProgram.set("");
    activate();
    EXPECT_FALSE(launch.isEnabled());
}

TEST_F(NewMailWindowGui, DoneForgetsTheListsButTheCloseBoxKeepsThem) {
    AccountsDialogModel& accounts = parts.program.accountsDialog();
    for (const bool viaDone : {true, false}) {
        SCOPED_TRACE(viaDone ? "Done" : "close box");
        accounts.Memon[2].set("Dave <dave@example.org>\tBuild is green again\r\n");
        announceThreeMessages();
        if (viaDone) {
            QTest::mouseClick(&child<QPushButton>(QStringLiteral("Done")), Qt::LeftButton);
        } else {
            EXPECT_TRUE(form().close());
        }
        EXPECT_FALSE(form().isVisible());
        EXPECT_FALSE(model().NewMailOpen);
        EXPECT_FALSE(parts.timers.timers[TimerId::NewMailAnimation].enabled);
        EXPECT_EQ(accounts.Memon[2].get().empty(), viaDone);
    }
}

}  // namespace
}  // namespace mivo::test
