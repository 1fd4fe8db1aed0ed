// The tray tests run inside the program's own application object on a
// private X display with a tray host, or skip where one cannot be had.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QSystemTrayIcon>
#include <QtGlobal>
#include <chrono>
#include <memory>

#include "Application.h"
#include "EventLoopWait.h"
#include "VirtualDesktop.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<mivo::test::VirtualDesktop> desktop;
    std::string& unavailable = mivo::test::trayTestsUnavailable();
    unavailable = mivo::test::VirtualDesktop::missingPrograms();
    // Listing the tests (as CTest does to find them) needs no display.
    const bool listing = ::testing::GTEST_FLAG(list_tests);
    if (unavailable.empty() && !listing) {
        desktop = std::make_unique<mivo::test::VirtualDesktop>();
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    } else {
        unavailable = listing ? "only listing" : "not installed: " + unavailable;
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    mivo::Application app(argc, argv);
    if (desktop) {
        // The tests themselves fail when it never comes.
        mivo::test::runEventLoopUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); },
                                      std::chrono::seconds(20));
    }
    return RUN_ALL_TESTS();
}
