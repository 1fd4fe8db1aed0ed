#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <string>

#include "ProgramFixture.h"
#include "WindowSetup.h"

namespace mivo::test {
namespace {

class UninstallWindowGui : public ::testing::Test {
protected:
    void SetUp() override {
        parts.settings.store("EXENAME=/usr/bin/mivo\r\nversion=45\r\n");
        windows = std::make_unique<ProgramWindows>(parts.program, parts.ui, application());
    }

    TINIT& window() { return windows->uninstallWindow(); }
    template <typename Control>
    Control& child(const char* name) {
        Control* found = window().findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *found;
    }
    void tick(int count) {
        for (int i = 0; i < count; ++i) {
            parts.timers.tick(TimerId::UninstallStep);
        }
    }
    // The colour in the middle of a light, as the window shows it.
    QColor lightColour(const QImage& picture, const char* name) {
        return picture.pixelColor(child<QWidget>(name).geometry().center());
    }

    ProgramParts parts{{"uninstall"}};
    std::unique_ptr<ProgramWindows> windows;
};

TEST_F(UninstallWindowGui, LayoutAtTheStart) {
    EXPECT_EQ(window().windowTitle(), "UNINSTALL for MIVO");
    EXPECT_EQ(window().size(), clientSizeFor(TINIT::outerSize()));
    // No close box: only DONE ends it.
    EXPECT_FALSE(window().windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window().windowFlags() & Qt::WindowSystemMenuHint);

    QLabel& label1 = child<QLabel>("Label1");
    EXPECT_EQ(label1.geometry(), QRect(22, 19, 143, 39));
    EXPECT_EQ(label1.text(),
              "Mivo is in the process of removing its components from your computer.");
    EXPECT_TRUE(label1.wordWrap());
    struct Step {
        const char* shape;
        int shapeTop;
        const char* label;
        const char* caption;
        int labelTop;
    };
    const Step steps[] = {{"Shape1", 69, "Label2", "Removing Registry entries", 71},
                          {"Shape2", 91, "Label3", "Removing Start menu items", 94},
                          {"Shape3", 113, "Label4", "Removing Startup menu items", 116},
                          {"Shape4", 135, "Label5", "Removing Program files", 138}};
    const QImage picture = window().grab().toImage();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.shape);
        EXPECT_EQ(child<QWidget>(s.shape).geometry(), QRect(24, s.shapeTop, 18, 18));
        EXPECT_EQ(lightColour(picture, s.shape), QColor(255, 255, 255));
        const QLabel& label = child<QLabel>(s.label);
        EXPECT_EQ(label.pos(), QPoint(50, s.labelTop));
        EXPECT_EQ(label.text(), s.caption);
        // The whole caption fits the window.
        EXPECT_LE(label.geometry().right(), window().width());
    }
    QPushButton& done = child<QPushButton>("DONE");
    EXPECT_EQ(done.geometry(), QRect(64, 160, 75, 25));
    EXPECT_EQ(done.text(), "DONE");
    EXPECT_TRUE(done.isHidden());
    // Only DONE ends it: a close from the window manager is refused.
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(window().isVisible());
}

TEST_F(UninstallWindowGui, LightsFollowTheStepsAndDoneEndsWithoutSaving) {
    tick(4);
    // A step under way, as a person would see the window half-way.
    parts.program.uninstallWindow().Shape3.set(StepLight::Yellow);
    const QImage halfWay = window().grab().toImage();
    halfWay.save(screenshotPath("uninstall-window.png"));
    EXPECT_EQ(lightColour(halfWay, "Shape1"), QColor(0, 128, 0));
    EXPECT_EQ(lightColour(halfWay, "Shape2"), QColor(0, 128, 0));
    EXPECT_EQ(lightColour(halfWay, "Shape3"), QColor(255, 255, 0));
    EXPECT_EQ(lightColour(halfWay, "Shape4"), QColor(255, 255, 255));
    QPushButton& done = child<QPushButton>("DONE");
    tick(2);
    EXPECT_TRUE(done.isHidden());
    tick(1);
    ASSERT_TRUE(done.isVisible());
    window().grab().save(screenshotPath("uninstall-window-done.png"));

    QTest::mouseClick(&done, Qt::LeftButton);
    EXPECT_TRUE(parts.ui.terminationRequested());
    windows.reset();
    EXPECT_TRUE(parts.settings.writes.empty());
    EXPECT_EQ(parts.settings.removals, 1);
}

}  // namespace
}  // namespace mivo::test
