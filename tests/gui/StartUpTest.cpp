#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "ProgramFixture.h"
#include "ProgramRun.h"

namespace mivo::test {
namespace {

const std::vector<std::string> kCreationOrder = {
    "mivo::TUbo",   "mivo::TMultiPOP",     "mivo::TAdvancedOptions", "mivo::TLogViewer",
    "mivo::TForm1", "mivo::TUrgentNotice", "mivo::TForm2",           "mivo::TINIT",
};

std::vector<std::string> reversed(std::vector<std::string> names) {
    std::reverse(names.begin(), names.end());
    return names;
}

bool anyProgramWindowLeft() {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("Ubo") ||
            window->objectName() == QLatin1String("INIT")) {
            return true;
        }
    }
    return false;
}

using StartUp = ProgramFixture;

TEST_F(StartUp, CreatesTheEightWindowsInOrderHiddenAndDestroysThemInReverse) {
    EXPECT_EQ(parts.created, kCreationOrder);
    // The main window ran its creation step: version, wide, bottom edge on
    // the screen's middle line.
    EXPECT_EQ(model().Version.get(), "Ver 4.5");
    EXPECT_EQ(model().Width.get(), 418);
    const ScreenSize screen = parts.ui.screenSize();
    EXPECT_EQ(ubo().pos(), QPoint((screen.width - 418) / 2, screen.height / 2 - 141));

    struct Placement {
        QWidget* window;
        QSize outer;
        bool centred;
    };
    const Placement placements[] = {
        {&windows->accountsDialog(), TMultiPOP::outerSize(), true},
        {&windows->advancedOptions(), TAdvancedOptions::outerSize(), true},
        {&windows->logViewer(), TLogViewer::outerSize(), true},
        {&windows->newMailWindow(), TForm1::outerSize(), true},
        {&windows->urgentNotice(), TUrgentNotice::outerSize(), false},
        {&windows->directoryChooser(), TForm2::outerSize(), false},
        {&windows->uninstallWindow(), TINIT::outerSize(), false},
    };
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.window->metaObject()->className());
        EXPECT_FALSE(p.window->isVisible());
        const QPoint centre((screen.width - p.outer.width()) / 2,
                            (screen.height - p.outer.height()) / 2);
        EXPECT_EQ(p.window->pos() == centre, p.centred);
    }
    EXPECT_EQ(windows->advancedOptions().windowTitle(), "Advanced Options");
    EXPECT_EQ(windows->directoryChooser().pos(), QPoint(278, 162));

    windows.reset();
    EXPECT_EQ(parts.destroyed, reversed(kCreationOrder));
}

TEST(StartUpRun, CloseIsRefusedWhileConnectedThenEndsTheProgram) {
    ProgramParts parts;
    std::vector<bool> closeResults;
    bool wasShown = false;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() != QLatin1String("Ubo") || !window->isVisible()) {
                continue;
            }
            wasShown = true;
            // First while a connection is open, then after it ended.
            parts.program.cycleState().connected = closeResults.empty();
            closeResults.push_back(window->close());
        }
    });
    closer.start();
    QTimer hangGuard;
    hangGuard.setSingleShot(true);
    QObject::connect(&hangGuard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    hangGuard.start(10000);

    const int code = runProgram(application(), parts.program, parts.ui, parts.recorders());

    EXPECT_EQ(code, 0);
    EXPECT_TRUE(wasShown);
    EXPECT_EQ(closeResults, (std::vector<bool>{false, true}));
    EXPECT_EQ(parts.program.mainWindowModel().Caption.get(), "Terminateing Mivo");
    EXPECT_EQ(parts.created, kCreationOrder);
    EXPECT_EQ(parts.destroyed, reversed(kCreationOrder));
    EXPECT_FALSE(anyProgramWindowLeft());
}

TEST(StartUpRun, StoredSettingsOpenNarrowAndAreSavedWhenTheMainWindowGoes) {
    ProgramParts parts;
    parts.settings.store("UN1=ann\r\nTimeInterval=5\r\nversion=45\r\n");
    auto windows = std::make_unique<ProgramWindows>(parts.program, parts.ui, application());
    EXPECT_EQ(parts.program.mainWindowModel().Width.get(), 214);
    QLineEdit* userName = windows->mainWindow().findChild<QLineEdit*>("UserName");
    ASSERT_NE(userName, nullptr);
    EXPECT_EQ(userName->text(), "ann");
    QTest::keyClick(userName, Qt::Key_A);

    windows.reset();
    ASSERT_FALSE(parts.settings.writes.empty());
    EXPECT_NE(parts.settings.writes.back().find("\r\nUN1=anna\r\n"), std::string::npos);
    EXPECT_NE(parts.settings.writes.back().find("\r\nTimeInterval=5\r\n"), std::string::npos);
}

TEST(StartUpRun, UninstallModeShowsTheUninstallWindowAndSavesNothing) {
    ProgramParts parts({"uninstall"});
    parts.settings.store("EXENAME=/usr/bin/mivo\r\nversion=45\r\n");
    auto windows = std::make_unique<ProgramWindows>(parts.program, parts.ui, application());
    const TINIT& uninstall = windows->uninstallWindow();
    EXPECT_TRUE(uninstall.isVisible());
    const ScreenSize screen = parts.ui.screenSize();
    // Its bottom edge on the screen's middle line.
    EXPECT_EQ(uninstall.pos(), QPoint((screen.width - TINIT::outerSize().width()) / 2,
                                      screen.height / 2 - TINIT::outerSize().height()));
    const std::string& log = parts.program.log().text();
    EXPECT_EQ(log.substr(log.rfind("\r\n") + 2), "We UNINSTALL");

    windows.reset();
    EXPECT_TRUE(parts.settings.writes.empty());
}

bool isTopLevelWindow(const char* objectName) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [objectName](const QWidget* window) {
        return window->objectName() == QLatin1String(objectName);
    });
}

TEST(StartUpRun, HiddenWindowsGetTheirControlsWhenFirstShown) {
    ProgramParts parts;
    auto windows = std::make_unique<ProgramWindows>(parts.program, parts.ui, application());
    EXPECT_FALSE(isTopLevelWindow("MultiPOP"));
    EXPECT_FALSE(isTopLevelWindow("Form1"));
    parts.ui.hideWindow(WindowId::Accounts);
    EXPECT_FALSE(parts.ui.isWindowVisible(WindowId::Accounts));
    EXPECT_FALSE(isTopLevelWindow("MultiPOP"));

    parts.program.accountsDialogBehaviour().Show();
    ASSERT_TRUE(isTopLevelWindow("MultiPOP"));
    EXPECT_TRUE(parts.ui.isWindowVisible(WindowId::Accounts));
    EXPECT_TRUE(windows->accountsDialog().isVisible());
    parts.ui.hideWindow(WindowId::Accounts);
    EXPECT_FALSE(windows->accountsDialog().isVisible());

    windows.reset();
    EXPECT_FALSE(isTopLevelWindow("MultiPOP"));
}

TEST(StartUpRun, AnErrorWhileCreatingTheWindowsIsShownAndEndsWithCodeZero) {
    ProgramParts parts;
    QStringList reports;
    application().setErrorReporter([&](const QString& text) { reports << text; });
    ProgramWindows::Observers observers = parts.recorders();
    observers.created = [&parts](const char* name) {
        parts.created.emplace_back(name);
        if (std::string(name) == "mivo::TLogViewer") {
            throw std::runtime_error("Stream read error");
        }
    };

    const int code = runProgram(application(), parts.program, parts.ui, observers);
    application().setErrorReporter({});

    EXPECT_EQ(code, 0);
    EXPECT_EQ(reports, QStringList{"Stream read error"});
    EXPECT_EQ(parts.created.size(), 4u);
    EXPECT_FALSE(anyProgramWindowLeft());
    // A timer firing later finds no window to build.
    parts.ui.showWindow(WindowId::Accounts);
    EXPECT_FALSE(parts.ui.isWindowVisible(WindowId::Accounts));
}

TEST(CatchPoint, AnErrorEscapingAHandlerIsReportedAndTheLoopGoesOn) {
    ProgramParts parts;
    ProgramWindows windows(parts.program, parts.ui, application());
    QStringList reports;
    application().setErrorReporter([&](const QString& text) { reports << text; });
    parts.program.mainWindowModel().UserName.onChange(
        [] { throw std::runtime_error("Access violation at address 00000000"); });
    bool laterEventRan = false;
    QTimer::singleShot(0, [] { throw std::logic_error("List index out of bounds (3)"); });
    QTimer::singleShot(0, [&] { laterEventRan = true; });

    QLineEdit* userName = windows.mainWindow().findChild<QLineEdit*>("UserName");
    ASSERT_NE(userName, nullptr);
    QTest::keyClick(userName, Qt::Key_A);
    for (int i = 0; i < 100 && !laterEventRan; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    application().setErrorReporter({});

    EXPECT_TRUE(laterEventRan);
    EXPECT_EQ(reports, (QStringList{"Access violation at address 00000000",
                                    "List index out of bounds (3)"}));
    EXPECT_EQ(parts.program.mainWindowModel().UserName.get(), "a");
}

TEST(CatchPoint, TheReportIsAStopBoxTitledWithTheApplicationTitle) {
    application().setApplicationTitle(QStringLiteral("No New Mail - Mivo"));
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer poll;
    poll.setInterval(10);
    int polls = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (++polls > 500) {
                QCoreApplication::exit(1);  // hang guard: no box appeared
            }
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    poll.start();
    application().reportError(QStringLiteral("Invalid floating point operation"));
    poll.stop();
    application().setApplicationTitle(QStringLiteral("Mivo"));

    EXPECT_EQ(title, "No New Mail - Mivo");
    EXPECT_EQ(text, "Invalid floating point operation");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

}  // namespace
}  // namespace mivo::test
