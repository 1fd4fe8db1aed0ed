// The tray icon in a real notification area: it is embedded with the
// program's picture, and real presses of the mouse buttons on it bring the
// minimised program back, the middle one excepted.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "EventLoopWait.h"
#include "ProgramFixture.h"
#include "VirtualDesktop.h"

namespace mivo::test {
namespace {

// The window the icon is embedded as. Qt keeps it as a top-level widget of
// its own; its position is the tray host's business, so presses are aimed
// at the window rather than at a place on the screen.
QWidget* embeddedIcon() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") == 0) {
            return widget;
        }
    }
    return nullptr;
}

// Presses and releases a mouse button over the middle of `window` through
// the X server, as a user does.
void pressOn(const QWidget& window, int button) {
    const QPoint middle = window.rect().center();
    ChildProcess xdotool(
        {"xdotool", "mousemove", "--window", std::to_string(window.winId()),
         std::to_string(middle.x()), std::to_string(middle.y()), "click", std::to_string(button)},
        ChildOptions{"/dev/null", "/dev/null", {}, false});
    const ChildExit exit = xdotool.wait(ChildProcess::Clock::now() + std::chrono::seconds(20));
    ASSERT_EQ(exit.exitCode, 0) << exit.describe();
}

class TrayHost : public ProgramFixture {
protected:
    void SetUp() override {
        if (!trayTestsUnavailable().empty()) {
            GTEST_SKIP() << "no tray host: " << trayTestsUnavailable();
        }
        ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable())
            << "the tray host did not take the notification area";
        // Stored settings: a first start would open the help window, which
        // may come up over the tray host and take the presses.
        parts.settings.store("Show_as_icon=YES\r\nShow_as_button=YES\r\nversion=45\r\n");
        ProgramFixture::SetUp();
    }
};

TEST_F(TrayHost, PressesOnTheEmbeddedIconRestoreTheProgramExceptTheMiddleOne) {
    ubo().show();
    QSystemTrayIcon* icon = parts.ui.trayIcon().shown();
    ASSERT_NE(icon, nullptr) << "default options show the icon";
    QWidget* embedded = nullptr;
    ASSERT_TRUE(runEventLoopUntil([&] {
        embedded = embeddedIcon();
        return embedded != nullptr && embedded->windowHandle() != nullptr &&
               embedded->windowHandle()->isExposed();
    })) << "the icon was never embedded";
    // The tray host sits at the screen's top right corner.
    QScreen& screen = *QGuiApplication::primaryScreen();
    const int corner = 160;
    screen.grabWindow(0, screen.geometry().width() - corner, 0, corner, 40)
        .save(screenshotPath("tray-icon.png"));

    // Each activation, with whether the window was still minimised after the
    // program's own handler had run.
    std::vector<std::pair<QSystemTrayIcon::ActivationReason, bool>> seen;
    QObject::connect(icon, &QSystemTrayIcon::activated, icon,
                     [&](QSystemTrayIcon::ActivationReason reason) {
                         seen.emplace_back(reason, ubo().isMinimized());
                     });
    QTest::mouseClick(&control<QPushButton>("Button1"), Qt::LeftButton);  // "Minimise"
    ASSERT_TRUE(ubo().isMinimized());
    pressOn(*embedded, 2);
    pressOn(*embedded, 1);
    ASSERT_TRUE(runEventLoopUntil([&] { return seen.size() >= 2; }));
    ubo().showMinimized();
    pressOn(*embedded, 3);
    ASSERT_TRUE(runEventLoopUntil([&] { return seen.size() >= 3; }));

    const decltype(seen) expected = {{QSystemTrayIcon::MiddleClick, true},
                                     {QSystemTrayIcon::Trigger, false},
                                     {QSystemTrayIcon::Context, false}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(icon->toolTip(), "Mivo");
}

}  // namespace
}  // namespace mivo::test
