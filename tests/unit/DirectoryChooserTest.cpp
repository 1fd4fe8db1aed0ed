#include <gtest/gtest.h>

#include "CheckFixture.h"

namespace mivo {
namespace {

using test::CheckFixture;

TEST_F(CheckFixture, DirectoryChooserOkHandsItsFolderToTheAdvancedOptionsCancelDoesNot) {
    DirectoryChooser& chooser = program.directoryChooserBehaviour();
    TextField& tempDir = program.advancedOptions().TEMPDIR;
    tempDir.set("/tmp");
    program.directoryChooser().Label1.set("/home/user/a very long folder name/mail");

    ui.showWindow(WindowId::DirectoryChooser);
    chooser.CancelClick();
    EXPECT_FALSE(ui.isWindowVisible(WindowId::DirectoryChooser));
    EXPECT_EQ(tempDir.get(), "/tmp");

    ui.showWindow(WindowId::DirectoryChooser);
    chooser.OKClick();
    EXPECT_FALSE(ui.isWindowVisible(WindowId::DirectoryChooser));
    EXPECT_EQ(tempDir.get(), "/home/user/a very long folder name/mail");
}

}  // namespace
}  // namespace mivo
