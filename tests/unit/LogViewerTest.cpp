#include <gtest/gtest.h>

#include "CheckFixture.h"

namespace mivo {
namespace {

class LogViewerFixture : public test::CheckFixture {
protected:
    LogViewer& viewer() { return program.logViewerBehaviour(); }
    const std::string& shownText() { return program.logViewer().LogCopy.get(); }
    bool shown() const { return ui.isWindowVisible(WindowId::LogViewer); }
};

TEST_F(LogViewerFixture, FollowsTheLogOnlyFromShowLogUntilItIsHidden) {
    program.log().append("before");
    viewer().ShowLog();
    EXPECT_TRUE(shown());
    EXPECT_EQ(shownText(), program.log().text());
    program.log().append("while open");
    EXPECT_EQ(shownText(), program.log().text());

    ui.hideWindow(WindowId::LogViewer);  // its close box
    EXPECT_FALSE(window.logViewerOpen);
    const std::string seen = shownText();
    program.log().append("after closing");
    EXPECT_EQ(shownText(), seen);

    viewer().ShowLog();
    EXPECT_EQ(shownText(), program.log().text());
    EXPECT_NE(shownText().find("after closing"), std::string::npos);
}

TEST_F(LogViewerFixture, ClearLogFileLeavesOneLineInTheLogAndTheViewer) {
    program.log().append("a line");
    viewer().ShowLog();
    viewer().ClearClick();
    EXPECT_EQ(program.log().text(), "Log is cleared.\r\n");
    EXPECT_EQ(shownText(), "Log is cleared.\r\n");
    program.log().append("next");
    EXPECT_EQ(shownText(), "Log is cleared.\r\nnext\r\n");
}

TEST_F(LogViewerFixture, ResetHidesAnOpenViewerAndStopsItFollowing) {
    viewer().ShowLog();
    program.mainWindow().Button2Click();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(window.logViewerOpen);
    const std::string seen = shownText();
    program.log().append("after reset");
    EXPECT_EQ(shownText(), seen);
}

}  // namespace
}  // namespace mivo
