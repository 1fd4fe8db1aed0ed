// The advanced options dialog through its widgets: layout, clicks, the
// ways it closes and its file dialogs.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ProgramFixture.h"

namespace mivo::test {
namespace {

void clickButton(QAbstractButton& button) {
    // Check boxes and radio buttons take clicks on their indicator.
    const QPoint at = qobject_cast<QPushButton*>(&button) != nullptr
                          ? button.rect().center()
                          : QPoint(6, button.height() / 2);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, at);
}

void pickEntry(QComboBox& box, int index) {
    box.showPopup();
    QAbstractItemView& list = *box.view();
    const QRect entry = list.visualRect(list.model()->index(index, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, entry.center());
}

class AdvancedOptionsWindow : public ProgramFixture {
protected:
    TAdvancedOptions& dialog() { return windows->advancedOptions(); }
    AdvancedOptionsModel& options() { return parts.program.advancedOptions(); }

    template <typename Control>
    Control& find(const QString& name) {
        Control* found = dialog().findChild<Control*>(name);
        if (found == nullptr) {
            throw std::runtime_error("no control " + name.toStdString());
        }
        return *found;
    }

    void open() {
        clickButton(control<QPushButton>("Button5"));
        ASSERT_TRUE(dialog().isVisible());
    }
};

// How far the caption's ink reaches inside a check box or radio button.
int captionInkRight(QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool radio = qobject_cast<QRadioButton*>(&button) != nullptr;
    const QRect contents = button.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
    return contents.left() + button.fontMetrics().tightBoundingRect(button.text()).right();
}

struct Caption {
    const char* name;
    const char* text;
};
const Caption kCaptions[] = {
    {"Label2", "When new email arrives:"},
    {"ShowAll", "Ignore rules, show all emails"},
    {"UseRule", "Use rules"},
    {"Label3", "Level of Detail on New Mail Window"},
    {"NewMLevelNumber", "Number of email"},
    {"RadioButton1", "From and Subject"},
    {"StartMinimized", "Start Mivo in Minimized Mode."},
    {"Label5", "Show in"},
    {"Taskbartray", "Taskbar tray"},
    {"Taskbarbutton", "Taskbar button"},
    {"Label6", "Email program:"},
    {"EmailProgram", ""},
    {"Browse", "Browse"},
    {"Label1",
     "Add notification to the New Message window if the text (left) is found in the field "
     "(right)."},
    {"Label4", "U\nR\nG\nE\nN\nT"},
    {"Label7", "DL"},
    {"Label8", "DEL"},
    {"Label10", "Program to run, append %s for tmp downloaded filename"},
    {"NoticeAll", "If none match, show notice of new email"},
    {"Label9", "Temp Directory(Downloads):"},
    {"TEMPDIR", ""},
    {"Button2", "Browse"},
    {"Button1", "Show Log"},
    {"OK", "OK"},
    {"Cancel", "Cancel"},
};

TEST_F(AdvancedOptionsWindow, EveryControlShowsItsWholeCaptionInsideTheWindowWithoutOverlap) {
    EXPECT_EQ(dialog().size(), QSize(474, 246));
    EXPECT_EQ(dialog().minimumSize(), dialog().maximumSize());
    EXPECT_EQ(dialog().windowTitle(), "Advanced Options");
    EXPECT_FALSE(dialog().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog().windowFlags() & Qt::WindowMaximizeButtonHint);
    open();

    std::vector<QWidget*> placed;
    for (const Caption& c : kCaptions) {
        SCOPED_TRACE(c.name);
        QWidget& widget = find<QWidget>(QString::fromLatin1(c.name));
        placed.push_back(&widget);
        if (auto* label = qobject_cast<QLabel*>(&widget)) {
            EXPECT_EQ(label->text(), c.text);
            const QRect ink = label->fontMetrics().boundingRect(
                label->contentsRect(), label->alignment() | Qt::TextWordWrap, label->text());
            EXPECT_TRUE(label->contentsRect().contains(ink)) << "caption clipped";
        } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
            EXPECT_EQ(edit->height(), 21);
        } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
            EXPECT_EQ(button->text(), c.text);
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width())
                << "caption clipped";
        } else if (auto* box = qobject_cast<QAbstractButton*>(&widget)) {
            EXPECT_EQ(box->text(), c.text);
            EXPECT_LT(captionInkRight(*box), box->width()) << "caption clipped";
        }
    }
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        for (const char* column :
             {"Urgent", "Edit", "SelectBox", "DL", "DEL", "RunFile", "Browse"}) {
            placed.push_back(&find<QWidget>(QString::fromLatin1(column) + QString::number(rule)));
        }
    }
    const QRect client = dialog().rect();
    for (QWidget* a : placed) {
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_TRUE(a->isVisible());
        const QRect area(a->mapTo(&dialog(), QPoint(0, 0)), a->size());
        EXPECT_TRUE(client.contains(area)) << "outside the window";
        for (QWidget* b : placed) {
            const QRect other(b->mapTo(&dialog(), QPoint(0, 0)), b->size());
            EXPECT_TRUE(a == b || !area.intersects(other)) << b->objectName().toStdString();
        }
    }
    // The media file's row is kept but never offered.
    for (const char* hidden : {"Label11", "Media", "Browse5"}) {
        EXPECT_FALSE(find<QWidget>(QString::fromLatin1(hidden)).isVisible()) << hidden;
    }
    EXPECT_EQ(find<QLabel>("Label4").palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(AdvancedOptionsWindow, RuleFieldListsOfferTheFourteenHeaderFieldsAllAtOnce) {
    open();
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        SCOPED_TRACE(rule);
        QComboBox& box = find<QComboBox>(QStringLiteral("SelectBox%1").arg(rule));
        EXPECT_FALSE(box.isEditable());
        ASSERT_EQ(box.count(), 14);
        for (int index = 0; index < 14; ++index) {
            EXPECT_EQ(box.itemText(index).toStdString(), kHeaderFieldNames.at(index));
        }
        EXPECT_EQ(box.currentIndex(), 0);  // the start-up leaves every rule at "no rule"
        box.showPopup();
        EXPECT_FALSE(box.view()->verticalScrollBar()->isVisible());
        EXPECT_GE(box.view()->viewport()->height(), 14 * box.view()->sizeHintForRow(0));
        box.hidePopup();
    }
}

TEST_F(AdvancedOptionsWindow, ClicksFollowTheRulesOfTheDialogAndOKTakesThemBack) {
    open();
    QRadioButton& showAll = find<QRadioButton>("ShowAll");
    QRadioButton& useRule = find<QRadioButton>("UseRule");
    ASSERT_TRUE(showAll.isChecked());

    pickEntry(find<QComboBox>("SelectBox2"), 3);  // "From"
    EXPECT_EQ(find<QComboBox>("SelectBox2").currentText(), "From");
    EXPECT_TRUE(useRule.isChecked());
    EXPECT_FALSE(showAll.isChecked());

    clickButton(find<QRadioButton>("NewMLevelNumber"));
    EXPECT_TRUE(showAll.isChecked());
    EXPECT_FALSE(useRule.isChecked());
    EXPECT_FALSE(find<QRadioButton>("RadioButton1").isChecked());
    clickButton(showAll);  // a selected radio button stays selected
    EXPECT_TRUE(showAll.isChecked());

    clickButton(useRule);
    QTest::keyClicks(&find<QLineEdit>("Edit2"), "invoice");
    clickButton(find<QCheckBox>("DEL2"));
    QTest::keyClicks(&find<QLineEdit>("EmailProgram"), "mutt");
    clickButton(find<QCheckBox>("Taskbartray"));
    clickButton(find<QPushButton>("OK"));

    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(control<QPushButton>("Button5").text(), " Adv. Options");
    EXPECT_EQ(model().En[2].get(), "invoice");
    EXPECT_EQ(model().SBn[2].itemIndex.get(), 3);
    EXPECT_TRUE(model().DELn[2].get());
    EXPECT_TRUE(model().UseRule);
    EXPECT_TRUE(model().NewMLevelNumber.get());
    EXPECT_EQ(model().EmailProgram.get(), "mutt");
    EXPECT_FALSE(model().trayIcon);
}

TEST_F(AdvancedOptionsWindow, EscapePressesCancelAndTheCloseBoxAppliesLikeOK) {
    model().EmailProgram.set("mutt");
    open();
    QLineEdit& emailProgram = find<QLineEdit>("EmailProgram");
    emailProgram.setFocus();
    QTest::keyClick(&emailProgram, Qt::Key_End);
    QTest::keyClicks(&emailProgram, " -x");
    QTest::keyClick(&emailProgram, Qt::Key_Escape);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(model().EmailProgram.get(), "mutt");
    EXPECT_FALSE(model().advancedOptionsOpen);

    open();
    QTest::keyClick(&emailProgram, Qt::Key_End);
    QTest::keyClicks(&emailProgram, " -x");
    EXPECT_TRUE(dialog().close());
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(model().EmailProgram.get(), "mutt -x");
    EXPECT_EQ(control<QPushButton>("Button5").text(), " Adv. Options");
}

TEST_F(AdvancedOptionsWindow, ShowLogAndTheDirectoryBrowseOpenTheirWindows) {
    open();
    clickButton(find<QPushButton>("Button1"));
    EXPECT_TRUE(windows->logViewer().isVisible());
    EXPECT_TRUE(model().logViewerOpen);
    EXPECT_EQ(parts.program.logViewer().LogCopy.get(), parts.program.log().text());
    clickButton(find<QPushButton>("Button2"));
    EXPECT_TRUE(windows->directoryChooser().isVisible());
}

TEST_F(AdvancedOptionsWindow, PictureWithRulesFilledIn) {
    const struct {
        const char* text;
        int field;
        bool urgent, download, remove;
        const char* program;
    } rules[] = {{"Jane Boss", 3, true, true, false, "/usr/bin/notify-send %s"},
                 {"invoice", 8, false, true, true, "/usr/local/bin/file-invoice %s"},
                 {"", 0, false, false, false, ""}};
    for (int rule = 1; rule <= kRuleCount; ++rule) {
        const auto& r = rules[rule - 1];
        model().En[rule].set(r.text);
        model().SBn[rule].itemIndex.set(r.field);
        model().Urgentn[rule].set(r.urgent);
        model().DLn[rule].set(r.download);
        model().DELn[rule].set(r.remove);
        model().RunFilen[rule].set(r.program);
    }
    model().UseRule = true;
    model().EmailProgram.set("/usr/bin/thunderbird");
    open();
    EXPECT_TRUE(find<QRadioButton>("UseRule").isChecked());
    EXPECT_EQ(find<QComboBox>("SelectBox1").currentText(), "From");
    EXPECT_EQ(find<QLineEdit>("TEMPDIR").text(), "/home/me/.cache/mivo");
    dialog().grab().save(screenshotPath("advanced-options.png"));
}

// Runs `act` on the file dialog once it is up, and closes it if `act` did not.
void whenFileDialogOpens(std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* fileDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (fileDialog == nullptr) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        act(*fileDialog);
        if (fileDialog->isVisible()) {
            fileDialog->reject();
        }
    });
}

void pressOpen(QFileDialog& fileDialog) {
    auto* buttons = fileDialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QPushButton* open = buttons->button(QDialogButtonBox::Open);
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(open->isEnabled());
    open->click();
}

QStringList listedNames(QFileDialog& fileDialog) {
    auto* list = fileDialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    QStringList names;
    if (list == nullptr) {
        return names;
    }
    const QModelIndex root = list->rootIndex();
    for (int row = 0; row < list->model()->rowCount(root); ++row) {
        names << list->model()->index(row, 0, root).data().toString();
    }
    return names;
}

TEST_F(AdvancedOptionsWindow, ProgramBrowseListsExecutablesFromTheFieldsDirectory) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString program = directory.filePath(QStringLiteral("process-mail"));
    for (const QString& name : {program, directory.filePath(QStringLiteral("notes.txt"))}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    model().RunFilen[1].set(program.toStdString());
    open();

    whenFileDialogOpens([&](QFileDialog& fileDialog) {
        EXPECT_EQ(fileDialog.windowTitle(), "Please Select a program to process the email");
        EXPECT_EQ(fileDialog.nameFilters(), QStringList{"Executable files (*)"});
        EXPECT_TRUE(fileDialog.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(fileDialog.directory().absolutePath(), directory.path());
        EXPECT_EQ(fileDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                  "process-mail");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !listedNames(fileDialog).isEmpty(); }));
        EXPECT_EQ(listedNames(fileDialog), QStringList{"process-mail"});
        fileDialog.grab().save(screenshotPath("advanced-options-browse.png"));
        pressOpen(fileDialog);
    });
    clickButton(find<QPushButton>("Browse1"));
    EXPECT_EQ(find<QLineEdit>("RunFile1").text(), program);

    // A field naming no directory that exists starts at home; Cancel keeps
    // the field's text.
    struct Start {
        const char* field;
        const char* fileName;
    };
    for (const Start& start : {Start{"notify-send %s", "notify-send %s"},
                               Start{"/no/such/directory/notify-send", "notify-send"}}) {
        SCOPED_TRACE(start.field);
        options().RunFilen[2].set(start.field);
        whenFileDialogOpens([&](QFileDialog& fileDialog) {
            EXPECT_EQ(fileDialog.directory().absolutePath(), QDir::homePath());
            EXPECT_EQ(fileDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                      start.fileName);
            fileDialog.reject();
        });
        clickButton(find<QPushButton>("Browse2"));
        EXPECT_EQ(options().RunFilen[2].get(), start.field);
    }
}

TEST_F(AdvancedOptionsWindow, MediaBrowseListsEveryFile) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString sound = directory.filePath(QStringLiteral("bounce.mpg"));
    QFile file(sound);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    open();
    options().Media.set(sound.toStdString());
    whenFileDialogOpens([&](QFileDialog& fileDialog) {
        EXPECT_EQ(fileDialog.windowTitle(),
                  "Please choose an media file to be played when new mail arrives.");
        EXPECT_EQ(fileDialog.nameFilters(), QStringList{"Media Player Files (all types) (*)"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return !listedNames(fileDialog).isEmpty(); }));
        EXPECT_EQ(listedNames(fileDialog), QStringList{"bounce.mpg"});
        pressOpen(fileDialog);
    });
    parts.program.advancedOptionsBehaviour().Browse5Click();
    EXPECT_EQ(options().Media.get(), sound.toStdString());
}

}  // namespace
}  // namespace mivo::test
