#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ProgramFixture.h"

namespace mivo::test {
namespace {

class DirectoryChooserWindow : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        ASSERT_TRUE(tree.isValid());
        for (const char* folder : {"inbox/2024", "inbox/archive", "Outbox", ".hidden"}) {
            ASSERT_TRUE(QDir(tree.path()).mkpath(QString::fromLatin1(folder)));
        }
    }

    TForm2& chooser() { return windows->directoryChooser(); }
    template <typename Control>
    Control& chooserControl(const char* name) {
        Control* found = chooser().findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *found;
    }
    FolderListBox& folders() { return chooserControl<FolderListBox>("DirectoryListBox1"); }
    QComboBox& drives() { return chooserControl<QComboBox>("DriveComboBox1"); }
    ElidedLabel& label1() { return chooserControl<ElidedLabel>("Label1"); }
    TextField& tempDir() { return parts.program.advancedOptions().TEMPDIR; }

    // What the list shows, each name behind its depth in blanks.
    QStringList shownFolders() {
        QStringList shown;
        for (QTreeWidgetItemIterator it(&folders()); *it != nullptr; ++it) {
            int depth = 0;
            for (QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
                ++depth;
            }
            shown << QString(depth, QLatin1Char(' ')) + (*it)->text(0);
        }
        return shown;
    }
    QTreeWidgetItem& item(const QString& name) {
        const QList<QTreeWidgetItem*> found =
            folders().findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.size() != 1) {
            throw std::runtime_error("no single folder " + name.toStdString());
        }
        return *found.front();
    }
    void doubleClick(const QString& name) {
        QTreeWidgetItem& folder = item(name);
        folders().scrollToItem(&folder);
        const QPoint at = folders().visualItemRect(&folder).center();
        // What the window system sends for a double click: the first click,
        // then the second press as a double click, then its release.
        QWidget* viewport = folders().viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
    }
    QTemporaryDir tree;
};

TEST_F(DirectoryChooserWindow, StartsAtTheCurrentDirectoryWithItsDriveChosen) {
    EXPECT_EQ(chooser().windowTitle(), "Clunky Dir Select");
    EXPECT_EQ(chooser().pos(), QPoint(278, 162));
    EXPECT_EQ(chooserControl<QPushButton>("OK").size(), QSize(49, 50));
    EXPECT_EQ(chooserControl<QPushButton>("Cancel").text(), "Cancel");
    EXPECT_GT(label1().y(), folders().geometry().bottom());

    const QString start = QDir::currentPath();
    EXPECT_EQ(folders().currentFolder(), start);
    EXPECT_EQ(label1().fullText(), start);
    EXPECT_EQ(parts.program.directoryChooser().Label1.get(), start.toStdString());
    // The drives and folders are listed once the window is seen.
    EXPECT_EQ(drives().count(), 0);
    EXPECT_EQ(folders().topLevelItemCount(), 0);
    chooser().show();
    ASSERT_NE(folders().currentItem(), nullptr);
    EXPECT_EQ(folders().currentItem()->data(0, Qt::UserRole).toString(), start);
    EXPECT_EQ(folders().topLevelItem(0)->text(0), "/");

    ASSERT_GE(drives().count(), 2);
    EXPECT_EQ(drives().itemText(0), "/");
    EXPECT_EQ(drives().itemText(1), QDir::homePath());
    const QString drive = drives().currentText();
    EXPECT_TRUE(drive == "/" || start == drive || start.startsWith(drive + "/"))
        << drive.toStdString();
}

TEST_F(DirectoryChooserWindow, DoubleClickingGoesDownAndBackUpTheTree) {
    chooser().show();
    folders().setCurrentFolder(tree.path());
    // The root, each folder on the way down, then the sub-folders.
    const auto levels = tree.path().split(QLatin1Char('/'), Qt::SkipEmptyParts).size();
    const QString indent(levels + 1, QLatin1Char(' '));
    EXPECT_EQ(shownFolders().mid(levels + 1), (QStringList{indent + "inbox", indent + "Outbox"}))
        << "sub-folders in name order, hidden ones left out";

    doubleClick("inbox");
    EXPECT_EQ(folders().currentFolder(), tree.filePath("inbox"));
    EXPECT_EQ(label1().fullText(), tree.filePath("inbox"));
    EXPECT_EQ(shownFolders().mid(levels + 1),
              (QStringList{indent + "inbox", indent + " 2024", indent + " archive"}));

    chooser().grab().save(screenshotPath("directory-chooser.png"));

    doubleClick(QFileInfo(tree.path()).fileName());
    EXPECT_EQ(folders().currentFolder(), tree.path());
    doubleClick("/");
    EXPECT_EQ(folders().currentFolder(), "/");
    EXPECT_EQ(drives().currentText(), "/");
}

TEST_F(DirectoryChooserWindow, ChoosingADriveMovesTheFolderListThere) {
    chooser().show();
    folders().setCurrentFolder(QStringLiteral("/"));
    ASSERT_EQ(drives().currentIndex(), 0);
    QTest::keyClick(&drives(), Qt::Key_Down);
    EXPECT_EQ(folders().currentFolder(), QDir::homePath());
    EXPECT_EQ(label1().fullText(), QDir::homePath());
}

TEST_F(DirectoryChooserWindow, OkHandsTheWholePathToTheAdvancedOptionsCancelAndEscapeDoNot) {
    const QString deep = tree.filePath("a folder with a rather long name/and another one/mail");
    ASSERT_TRUE(QDir().mkpath(deep));
    tempDir().set("/tmp");
    chooser().show();
    folders().setCurrentFolder(deep);
    EXPECT_TRUE(label1().text().contains(QChar(0x2026))) << label1().text().toStdString();
    EXPECT_TRUE(label1().text().endsWith("mail"));
    EXPECT_LE(label1().fontMetrics().horizontalAdvance(label1().text()), label1().width());

    QTest::mouseClick(&chooserControl<QPushButton>("Cancel"), Qt::LeftButton);
    EXPECT_FALSE(chooser().isVisible());
    EXPECT_EQ(tempDir().get(), "/tmp");

    chooser().show();
    EXPECT_EQ(folders().currentFolder(), deep) << "the folder is kept between showings";
    QTest::keyClick(&folders(), Qt::Key_Escape);
    EXPECT_FALSE(chooser().isVisible());
    EXPECT_EQ(tempDir().get(), "/tmp");

    chooser().show();
    QTest::mouseClick(&chooserControl<QPushButton>("OK"), Qt::LeftButton);
    EXPECT_FALSE(chooser().isVisible());
    EXPECT_EQ(tempDir().get(), deep.toStdString());
}

}  // namespace
}  // namespace mivo::test
