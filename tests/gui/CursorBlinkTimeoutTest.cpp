// The text cursor stops blinking when the user leaves the program alone and
// blinks again at the next key or click.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <functional>

#include "CursorBlinkTimeout.h"
#include "EventLoopWait.h"

namespace mivo::test {
namespace {

TEST(CursorBlinkTimeout, StopsWhenLeftAloneAndComesBackWithTheNextKeyOrClick) {
    const int before = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(1200);  // the user's own setting
    QLineEdit edit;
    const std::function<void()> inputs[] = {
        [&] { QTest::keyClick(&edit, Qt::Key_A); },
        [&] { QTest::mousePress(&edit, Qt::LeftButton); },
    };
    {
        CursorBlinkTimeout timeout(*qApp, std::chrono::milliseconds(20));
        for (const auto& input : inputs) {
            EXPECT_TRUE(runEventLoopUntil([] { return QApplication::cursorFlashTime() == 0; }));
            input();
            EXPECT_EQ(QApplication::cursorFlashTime(), 1200);
        }
        EXPECT_TRUE(runEventLoopUntil([] { return QApplication::cursorFlashTime() == 0; }));
    }
    EXPECT_EQ(QApplication::cursorFlashTime(), 1200);  // given back when it goes
    QApplication::setCursorFlashTime(before);
}

}  // namespace
}  // namespace mivo::test
