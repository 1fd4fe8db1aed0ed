#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "ProgramFixture.h"
#include "WindowSetup.h"

namespace mivo::test {
namespace {

constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);

class UrgentNoticeGui : public ProgramFixture {
protected:
    TUrgentNotice& notice() { return windows->urgentNotice(); }
    template <typename Control>
    Control& child(const char* name) {
        Control* found = notice().findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *found;
    }
    QPushButton& button1() { return child<QPushButton>("Button1"); }
    void show() { parts.program.urgentNoticeBehaviour().Show(); }
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            parts.timers.tick(TimerId::UrgentNoticeStripes);
        }
    }
    bool ticking() { return parts.timers.timers[TimerId::UrgentNoticeStripes].enabled; }
    // The first row from y = 100 on in column x where yellow turns black.
    static int yellowToBlack(const QImage& picture, int x) {
        for (int y = 100; y + 1 < picture.height(); ++y) {
            if (picture.pixel(x, y) == kYellow && picture.pixel(x, y + 1) == kBlack) {
                return y;
            }
        }
        return -1;
    }
    // How far the bands lie lower at x = `to` than at x = `from`, within
    // one period of 20 pixels.
    static int dropBetween(const QImage& picture, int from, int to) {
        return (yellowToBlack(picture, to) - yellowToBlack(picture, from) + 20) % 20;
    }
};

TEST_F(UrgentNoticeGui, LayoutAtCreation) {
    EXPECT_EQ(notice().windowTitle(), "Mivo");
    EXPECT_EQ(notice().size(), clientSizeFor(TUrgentNotice::outerSize()));
    QLabel& label1 = child<QLabel>("Label1");
    EXPECT_EQ(label1.geometry(), QRect(56, 74, 432, 180));
    EXPECT_EQ(label1.text(), "You have an urgent or important message waiting for you.");
    EXPECT_TRUE(label1.wordWrap());
    EXPECT_TRUE(label1.alignment() & Qt::AlignHCenter);
    EXPECT_EQ(label1.palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label1.font().pixelSize(), 40);
    EXPECT_EQ(child<QFrame>("Bevel1").geometry(), QRect(8, 0, 49, 353));
    EXPECT_EQ(child<QFrame>("Bevel2").geometry(), QRect(496, 0, 49, 353));
    EXPECT_EQ(button1().geometry(), QRect(193, 251, 153, 50));
    EXPECT_EQ(button1().text(), "Continue");
    EXPECT_EQ(button1().font().pixelSize(), 16);
    EXPECT_TRUE(button1().isHidden());
    EXPECT_FALSE(ticking());
}

TEST_F(UrgentNoticeGui, BandsTenPixelsWideMoveDownAPixelATickAndContinueEndsIt) {
    show();
    ASSERT_TRUE(notice().isVisible());
    tick(3);
    EXPECT_TRUE(button1().isHidden());
    tick();
    EXPECT_TRUE(button1().isVisible());
    tick(21);
    const QImage before = notice().grab().toImage();
    before.save(screenshotPath("urgent-notice.png"));

    for (const int x : {32, 520}) {
        SCOPED_TRACE(x);
        int run = 0;
        for (int y = 20; y < 330; ++y) {
            const QRgb colour = before.pixel(x, y);
            ASSERT_TRUE(colour == kYellow || colour == kBlack) << y;
            ++run;
            if (before.pixel(x, y + 1) != colour) {
                EXPECT_TRUE(run == 10 || y < 30) << "a band ends at " << y;
                run = 0;
            }
        }
    }
    // Down toward the window's middle: to the right in the left column, to
    // the left in the right one.
    EXPECT_EQ(dropBetween(before, 12, 52), 8);
    EXPECT_EQ(dropBetween(before, 540, 500), 8);

    tick();
    const QImage after = notice().grab().toImage();
    for (int y = 20; y < 330; ++y) {
        ASSERT_EQ(after.pixel(32, y + 1), before.pixel(32, y)) << y;
    }

    QTest::mouseClick(&button1(), Qt::LeftButton);
    EXPECT_FALSE(notice().isVisible());
    EXPECT_FALSE(ticking());
    show();
    EXPECT_TRUE(button1().isHidden());
    EXPECT_TRUE(ticking());
}

TEST_F(UrgentNoticeGui, ActivationCentresTheNoticeAsItIsNow) {
    show();
    notice().resize(400, 300);
    notice().move(3, 3);
    QEvent activation(QEvent::WindowActivate);
    QApplication::sendEvent(&notice(), &activation);
    const ScreenSize screen = parts.ui.screenSize();
    const QSize outer = outerSizeFor(QSize(400, 300));
    EXPECT_EQ(notice().pos(),
              QPoint((screen.width - outer.width()) / 2, (screen.height - outer.height()) / 2));
}

// Records which of the program's windows were raised, in order.
class RaiseRecorder : public QObject {
public:
    std::vector<QString> raised;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange) {
            raised.push_back(watched->objectName());
        }
        return QObject::eventFilter(watched, event);
    }
};

// The new-mail window comes up first, and on coming up it brings the
// program to the front; the urgent notice, shown after it, stays over it.
TEST_F(UrgentNoticeGui, ComesUpOverTheNewMailWindow) {
    MainWindowModel& window = model();
    window.UseRule = true;
    window.SBn[1].itemIndex.set(3);  // From
    window.En[1].set("Bob");
    window.Urgentn[1].set(true);
    window.RunFilen[1].set("");
    window.CheckBox1.set(true);  // bring the program to the front on new mail
    window.UserName.set("alice");
    window.UserPass.set("secret");
    window.PopServ.set("127.0.0.1");
    RaiseRecorder recorder;
    windows->newMailWindow().installEventFilter(&recorder);
    notice().installEventFilter(&recorder);

    parts.program.mainWindow().Button4Click();
    const SocketHandle server = parts.sockets.lastSocket();
    parts.sockets.connectSucceeds(server);
    for (const char* reply :
         {"+OK ready\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 120\r\n", "-ERR no UIDL\r\n",
          "+OK\r\nFrom: Bob\r\nSubject: Now\r\n\r\n.\r\n", "+OK bye\r\n"}) {
        parts.sockets.serverSends(server, reply);
    }
    parts.sockets.serverCloses(server);
    ASSERT_TRUE(windows->newMailWindow().isVisible());
    ASSERT_TRUE(notice().isVisible());
    // The window system's answers: each window's activation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &notice(); }));
    QCoreApplication::processEvents();

    ASSERT_FALSE(recorder.raised.empty());
    EXPECT_EQ(recorder.raised.back(), notice().objectName())
        << ::testing::PrintToString(recorder.raised);
    EXPECT_EQ(QApplication::activeWindow(), &notice());

    // Once it is up, a click on the new-mail window brings that to the front.
    recorder.raised.clear();
    windows->newMailWindow().activateWindow();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeWindow() == &windows->newMailWindow(); }));
    QCoreApplication::processEvents();
    ASSERT_FALSE(recorder.raised.empty());
    EXPECT_EQ(recorder.raised.back(), windows->newMailWindow().objectName());
}

}  // namespace
}  // namespace mivo::test
