#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "ProgramFixture.h"

namespace mivo::test {
namespace {

class LogViewerWindow : public ProgramFixture {
protected:
    TLogViewer& viewer() { return windows->logViewer(); }
    QPlainTextEdit& logCopy() { return *viewer().findChild<QPlainTextEdit*>("LogCopy"); }
    QPushButton& clear() { return *viewer().findChild<QPushButton*>("Clear"); }
    Log& log() { return parts.program.log(); }
    // The advanced options dialog's "Show Log".
    void showLog() { parts.program.logViewerBehaviour().ShowLog(); }
    // What a person sees: the Log with its CR LF as line breaks.
    static QString asShown(const std::string& text) {
        return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    bool atEnd() {
        const QScrollBar& bar = *logCopy().verticalScrollBar();
        return bar.maximum() > 0 && bar.value() == bar.maximum();
    }
};

TEST_F(LogViewerWindow, TheTextFillsTheWindowWithClearLogFileOverItsTopEdge) {
    EXPECT_EQ(viewer().windowTitle(), "LogViewer");
    EXPECT_TRUE(logCopy().isReadOnly());
    EXPECT_EQ(logCopy().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(logCopy().geometry(), viewer().rect());
    EXPECT_EQ(clear().text(), "Clear Log File");
    EXPECT_EQ(clear().size(), QSize(89, 17));
    EXPECT_EQ(clear().y(), 0);
    EXPECT_LE(clear().fontMetrics().horizontalAdvance(clear().text()) + 6, 89) << "caption clipped";
    EXPECT_EQ(viewer().childAt(clear().geometry().center()), &clear()) << "hidden under the text";
    EXPECT_FALSE(clear().geometry().intersects(
        logCopy().verticalScrollBar()->geometry().translated(logCopy().pos())));

    viewer().show();
    viewer().resize(400, 300);
    EXPECT_EQ(logCopy().geometry(), viewer().rect());
    EXPECT_EQ(clear().y(), 0);
}

TEST_F(LogViewerWindow, FollowsTheLogAtItsEndUntilClosedAndShowLogBringsEverythingIn) {
    log().append("Timer Activated!!");
    showLog();
    ASSERT_TRUE(viewer().isVisible());
    EXPECT_EQ(logCopy().toPlainText(), asShown(log().text()));
    for (int i = 1; i <= 60; ++i) {
        log().append("line " + std::to_string(i));
    }
    EXPECT_EQ(logCopy().toPlainText(), asShown(log().text()));
    EXPECT_TRUE(atEnd());
    viewer().grab().save(screenshotPath("log-viewer.png"));

    // Someone reading older lines is not pulled away from them.
    QScrollBar& bar = *logCopy().verticalScrollBar();
    bar.setValue(3);
    log().append("while reading");
    EXPECT_EQ(bar.value(), 3);
    EXPECT_EQ(logCopy().toPlainText(), asShown(log().text()));

    EXPECT_TRUE(viewer().close());
    EXPECT_FALSE(model().logViewerOpen);
    log().append("after closing");
    EXPECT_FALSE(logCopy().toPlainText().contains("after closing"));
    showLog();
    EXPECT_EQ(logCopy().toPlainText(), asShown(log().text()));
    EXPECT_TRUE(atEnd());
}

TEST_F(LogViewerWindow, ClearLogFileLeavesTheSameSingleLineInTheLogAndTheViewer) {
    for (int i = 0; i < 30; ++i) {
        log().append("old line");
    }
    showLog();
    QTest::mouseClick(&clear(), Qt::LeftButton);
    EXPECT_EQ(log().text(), "Log is cleared.\r\n");
    EXPECT_EQ(logCopy().toPlainText(), "Log is cleared.\n");
    log().append("next");
    EXPECT_EQ(logCopy().toPlainText(), "Log is cleared.\nnext\n");
}

TEST_F(LogViewerWindow, ATruncatedLogIsShownAsItIsNow) {
    showLog();
    log().append(std::string(16000, 'x'));
    EXPECT_TRUE(logCopy().toPlainText().startsWith("The Log was truncated on "));
    EXPECT_EQ(logCopy().toPlainText(), asShown(log().text()));
}

}  // namespace
}  // namespace mivo::test
