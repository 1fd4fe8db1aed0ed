#include <gtest/gtest.h>

#include <QCheckBox>
#include <QExposeEvent>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include "ProgramFixture.h"
#include "cycle/CountdownClock.h"

namespace mivo::test {
namespace {

class Clock : public ProgramFixture {
protected:
    QImage panel() { return ubo().grab().toImage(); }
    QRgb windowFace() { return ubo().palette().color(QPalette::Window).rgb(); }

    // One tick of the real tick handler, from the given count.
    void tickFrom(int tickCount) {
        model().TickCount = tickCount;
        parts.program.mainWindow().Timer1Timer();
    }

    // The clock enlarged so that its pixels can be seen.
    void savePicture(const char* fileName) {
        const QImage square = panel().copy(QRect(0, 17, 34, 34));
        square.scaled(square.size() * 8, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .save(screenshotPath(fileName));
    }
};

TEST_F(Clock, StrokesLeaveTheirEndPointsAndStayBetweenTicks) {
    // At tick 100 the hand points down; every outline's last stroke ends on
    // (17, 30) behind the centre, so that pixel keeps the erase colour while
    // the strokes leading up to it are painted.
    parts.ui.drawOnMainWindow(countdownClock({100, 101, true, true, false, false}));
    const QRgb hand = qRgb(255, 253, 0);
    QImage image = panel();
    EXPECT_EQ(image.pixel(17, 30), windowFace());
    EXPECT_EQ(image.pixel(17, 31), hand);
    EXPECT_EQ(image.pixel(16, 47), hand);  // the tip
    EXPECT_EQ(image.pixel(2, 19), windowFace());
    EXPECT_EQ(image.pixel(31, 48), windowFace());

    ubo().update();
    QCoreApplication::processEvents();
    EXPECT_EQ(panel(), image);
}

TEST_F(Clock, EachTickRedrawsTheClockInItsColour) {
    struct Case {
        int tick;  // after the increment
        const char* picture;
        QRgb colour;
    };
    const Case cases[] = {
        {1, "clock-t001.png", qRgb(2, 255, 0)},
        {60, "clock-t060.png", qRgb(152, 255, 0)},
        {120, "clock-t120.png", qRgb(255, 229, 0)},
        {199, "clock-t199.png", qRgb(255, 128, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tick);
        tickFrom(c.tick - 1);
        EXPECT_EQ(model().TickCount, c.tick);
        // Every stroke of the hand paints its start point.
        const QImage image = panel();
        const std::vector<ClockSegment> strokes =
            countdownClock({c.tick - 1, c.tick, true, true, false, false});
        int painted = 0;
        for (const ClockSegment& stroke : strokes) {
            if (!stroke.colour.buttonFace && stroke.from != stroke.to) {
                EXPECT_EQ(image.pixel(stroke.from.x, stroke.from.y), c.colour);
                ++painted;
            }
        }
        EXPECT_GT(painted, 0);
        savePicture(c.picture);
    }
}

TEST_F(Clock, UncheckingCheckMailEveryTicksAndTurnsTheHandIntoAGreenStar) {
    model().TickCount = 9;
    QCheckBox& checkBox2 = control<QCheckBox>("CheckBox2");
    QTest::mouseClick(&checkBox2, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
    EXPECT_FALSE(model().CheckBox2.get());
    EXPECT_EQ(model().TickCount, 10);
    // Tick 9: a sits a little past straight up; the star's long point lies
    // on the hand's axis, the short points between the axes.
    const QImage image = panel();
    EXPECT_EQ(image.pixel(17, 34), qRgb(0, 255, 0));  // the centre
    EXPECT_EQ(image.pixel(3, 20), windowFace());      // a corner of the square
    savePicture("clock-unchecked.png");
}

TEST_F(Clock, UncoveringTheWindowTicksButTheClocksOwnRepaintsDoNot) {
    ubo().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ubo()));
    QCoreApplication::processEvents();
    const int before = model().TickCount;
    EXPECT_GE(before, 1);  // being shown is a paint

    QWindow* window = ubo().windowHandle();
    QExposeEvent uncovered(QRegion(ubo().rect()));
    QCoreApplication::sendEvent(window, &uncovered);
    EXPECT_EQ(model().TickCount, before + 1);

    // The clock repaints its square, the controls repaint themselves, the
    // window repaints from code: none of it is the window being uncovered.
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    ubo().repaint();
    QTest::keyClicks(&control<QLineEdit>("UserName"), "bob");
    QCoreApplication::processEvents();
    EXPECT_EQ(model().TickCount, before + 1);
    ubo().hide();
}

}  // namespace
}  // namespace mivo::test
