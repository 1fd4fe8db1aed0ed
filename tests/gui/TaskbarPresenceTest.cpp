// The tray icon and the main window's taskbar entry on Qt: what the icon
// shows (the menu entry's name and icon), which of its activations are
// presses, and the window keeping its place and state when its taskbar entry
// comes and goes. The offscreen platform has no notification area; the icon
// is there all the same, only no desktop shows it.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>

#include "ProgramFixture.h"
#include "ProgramIcon.h"

namespace mivo::test {
namespace {

using TaskbarPresenceOnQt = ProgramFixture;

bool logged(Program& program, const std::string& line) {
    return program.log().text().find(line) != std::string::npos;
}

TEST_F(TaskbarPresenceOnQt, TheIconShowsTheProgramsPictureAndTipAndOnlyPressesRestore) {
    // Nothing stored: both options on, the icon is shown at start-up.
    QSystemTrayIcon* icon = parts.ui.trayIcon().shown();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), "Mivo");
    EXPECT_EQ(icon->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              programIconImage().convertToFormat(QImage::Format_ARGB32));

    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        bool restores;
    };
    const Case cases[] = {
        {QSystemTrayIcon::Trigger, true},       // left press
        {QSystemTrayIcon::Context, true},       // right press
        {QSystemTrayIcon::DoubleClick, true},   // its second left press
        {QSystemTrayIcon::MiddleClick, false},  // not a press the icon answers
        {QSystemTrayIcon::Unknown, false},
    };
    ubo().show();
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.reason));
        ubo().showMinimized();
        ASSERT_TRUE(ubo().isMinimized());
        emit icon->activated(c.reason);
        EXPECT_EQ(ubo().isMinimized(), !c.restores);
        EXPECT_TRUE(ubo().isVisible());
    }
}

// A key of the menu entry the installations put on the machine.
QString menuEntryValue(const QString& key) {
    QFile file(QStringLiteral(MIVO_MENU_ENTRY));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    const QByteArray start = key.toUtf8() + '=';
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(start)) {
            return QString::fromUtf8(line.mid(start.size()));
        }
    }
    return {};
}

// The desktop puts the program's windows under the menu entry they name, and
// the tray icon shows that entry's name and the picture of its theme icon.
TEST_F(TaskbarPresenceOnQt, TheWindowsAndTheIconShowTheMenuEntrysNameAndIcon) {
    EXPECT_EQ(QGuiApplication::desktopFileName() + QStringLiteral(".desktop"),
              QFileInfo(QStringLiteral(MIVO_MENU_ENTRY)).fileName());
    QSystemTrayIcon* icon = parts.ui.trayIcon().shown();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), menuEntryValue(QStringLiteral("Name")));
    const QImage themeIcon(QStringLiteral(MIVO_THEME_ICONS "/32x32/") +
                           menuEntryValue(QStringLiteral("Icon")) + QStringLiteral(".png"));
    ASSERT_FALSE(themeIcon.isNull());
    EXPECT_EQ(icon->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              themeIcon.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(TaskbarPresenceOnQt, TheTaskbarEntryGoesAndComesWithoutMovingOrRestoringTheWindow) {
    ubo().show();
    model().Left.set(5);
    const QPoint at = ubo().pos();
    for (bool minimised : {false, true}) {
        SCOPED_TRACE(minimised);
        if (minimised) {
            ubo().showMinimized();
        }
        model().taskbarButton = false;
        parts.program.taskbarPresence().applyPresence();
        EXPECT_TRUE(ubo().windowFlags().testFlag(Qt::Tool));
        model().taskbarButton = true;
        parts.program.taskbarPresence().applyPresence();
        EXPECT_FALSE(ubo().windowFlags().testFlag(Qt::Tool));
        EXPECT_TRUE(ubo().isVisible());
        EXPECT_EQ(ubo().isMinimized(), minimised);
        EXPECT_EQ(ubo().pos(), at);  // the show step did not centre it again
        EXPECT_EQ(model().Left.get(), 5);
    }
    // Only the flag changes for a hidden window; it is not shown by it.
    ubo().hide();
    model().taskbarButton = false;
    parts.program.taskbarPresence().applyPresence();
    EXPECT_TRUE(ubo().windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(ubo().isVisible());
}

TEST_F(TaskbarPresenceOnQt, MinimiseWithoutAButtonLeavesTheIconWhichBringsTheWindowBack) {
    model().taskbarButton = false;
    parts.program.taskbarPresence().applyPresence();
    ubo().show();
    QTest::mouseClick(&control<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(ubo().isMinimized());
    EXPECT_TRUE(logged(parts.program, "Timer3Timer removing app button"));
    EXPECT_FALSE(parts.timers.timers[TimerId::Timer3].enabled);

    QSystemTrayIcon* icon = parts.ui.trayIcon().shown();
    ASSERT_NE(icon, nullptr);
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(ubo().isMinimized());
    EXPECT_TRUE(ubo().windowFlags().testFlag(Qt::Tool));  // no taskbar entry came back
    EXPECT_TRUE(parts.timers.timers[TimerId::Timer3].enabled);
}

TEST_F(TaskbarPresenceOnQt, ClosingTheMainWindowRemovesTheIcon) {
    ubo().show();
    ASSERT_NE(parts.ui.trayIcon().shown(), nullptr);
    EXPECT_TRUE(ubo().close());
    EXPECT_EQ(parts.ui.trayIcon().shown(), nullptr);
}

}  // namespace
}  // namespace mivo::test
