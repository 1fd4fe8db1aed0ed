#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ProgramFixture.h"

namespace mivo::test {
namespace {

using CheckNow = ProgramFixture;

// The desktop program runs the same cycle as the console: typed account,
// "Check now!", the clock red while the server is talked to, the result in
// the caption and the new-mail window.
TEST_F(CheckNow, TheButtonChecksTheTypedAccountWithTheClockRedMeanwhile) {
    ubo().show();
    QTest::keyClicks(&control<QLineEdit>("UserName"), "alice");
    QTest::keyClicks(&control<QLineEdit>("UserPass"), "secret");
    QTest::keyClicks(&control<QLineEdit>("PopServ"), "127.0.0.1:1100");
    QTest::mouseClick(&control<QPushButton>("Button4"), Qt::LeftButton);

    EXPECT_EQ(ubo().windowTitle(), "(1)(alice)Checking for new mail - Mivo");
    const SocketHandle server = parts.sockets.lastSocket();
    EXPECT_EQ(parts.sockets.socket(server).port, 1100);
    // The hand points up at the first tick, in red while connecting.
    EXPECT_EQ(ubo().grab().toImage().pixel(17, 25), qRgb(255, 0, 0));

    parts.sockets.connectSucceeds(server);
    for (const char* reply :
         {"+OK ready\r\n", "+OK\r\n", "+OK\r\n", "+OK 1 120\r\n", "+OK\r\n1 b-1\r\n.\r\n",
          "+OK\r\nFrom: Bob <bob@example.org>\r\nSubject: Hi\r\n\r\n.\r\n", "+OK bye\r\n"}) {
        parts.sockets.serverSends(server, reply);
    }
    parts.sockets.serverCloses(server);

    EXPECT_EQ(parts.sockets.socket(server).sent,
              "USER alice\r\nPASS secret\r\nSTAT\r\nUIDL\r\nTOP 1 0\r\nQUIT\r\n");
    EXPECT_EQ(ubo().windowTitle(), "New Mail - Mivo");
    EXPECT_TRUE(windows->newMailWindow().isVisible());
    EXPECT_EQ(
        parts.program.newMailWindow().Memo1.get(),
        "    alice@127.0.0.1:1100  Wed Jan 03 09:05:07 2001\r\nBob <bob@example.org>\tHi\r\n");
    ubo().grab().save(screenshotPath("main-window-after-check.png"));
}

}  // namespace
}  // namespace mivo::test
