#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "HelpWindow.h"
#include "ProgramFixture.h"

namespace mivo::test {
namespace {

class HelpPages : public ProgramFixture {
protected:
    HelpWindow* help() { return parts.ui.helpWindow(); }
    QTextBrowser& pages() { return *help()->findChild<QTextBrowser*>("Pages"); }
    QPushButton& button(const char* name) { return *help()->findChild<QPushButton*>(name); }
    void click(const char* mainWindowButton) {
        QTest::mouseClick(&control<QPushButton>(mainWindowButton), Qt::LeftButton);
    }
};

// Every link of a page, and every anchor it offers to links from elsewhere.
struct PageLinks {
    QList<QUrl> links;
    QSet<QString> anchors;
};

PageLinks linksOf(const QString& page) {
    QFile file(page);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    PageLinks found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (!format.anchorHref().isEmpty()) {
                found.links.append(QUrl(format.anchorHref()));
            }
            for (const QString& name : format.anchorNames()) {
                found.anchors.insert(name);
            }
        }
    }
    return found;
}

TEST_F(HelpPages, AFirstStartAndTheHelpButtonOpenTheContents) {
    // No settings yet: the start-up opened the help for the new user.
    ASSERT_NE(help(), nullptr);
    EXPECT_TRUE(help()->isVisible());
    EXPECT_EQ(pages().source(), HelpWindow::contentsPage());

    pages().setSource(QUrl(QStringLiteral("qrc:/help/accounts.html")));
    help()->hide();
    click("Help");
    EXPECT_TRUE(help()->isVisible());
    EXPECT_EQ(pages().source(), HelpWindow::contentsPage());
    EXPECT_EQ(help()->windowTitle(), "Mivo Help - Contents");
    EXPECT_TRUE(pages().toPlainText().contains("Getting started"));
    EXPECT_EQ(model().Log.get().find("help"), std::string::npos) << "nothing is logged";
    help()->grab().save(screenshotPath("help-contents.png"));
}

TEST_F(HelpPages, BackAndForwardRetraceTheReadersSteps) {
    EXPECT_FALSE(button("Back").isEnabled());
    pages().setSource(QUrl(QStringLiteral("qrc:/help/advanced-options.html")));
    EXPECT_EQ(help()->windowTitle(), "Mivo Help - Advanced Options");
    help()->grab().save(screenshotPath("help-advanced-options.png"));

    QTest::mouseClick(&button("Back"), Qt::LeftButton);
    EXPECT_EQ(pages().source(), HelpWindow::contentsPage());
    ASSERT_TRUE(button("Forward").isEnabled());
    QTest::mouseClick(&button("Forward"), Qt::LeftButton);
    EXPECT_EQ(pages().source().fileName(), "advanced-options.html");
    QTest::mouseClick(&button("Contents"), Qt::LeftButton);
    EXPECT_EQ(pages().source(), HelpWindow::contentsPage());
}

TEST(HelpPageLinks, EveryLinkLeadsToAPageOrPlaceAndEveryPageCanBeReached) {
    const QDir folder(QStringLiteral(":/help"));
    QSet<QString> pageNames;
    for (const QString& name : folder.entryList({QStringLiteral("*.html")}, QDir::Files)) {
        pageNames.insert(name);
    }
    ASSERT_TRUE(pageNames.contains(HelpWindow::contentsPage().fileName()));

    QSet<QString> reached{HelpWindow::contentsPage().fileName()};
    QList<QString> toRead{HelpWindow::contentsPage().fileName()};
    while (!toRead.isEmpty()) {
        const QString page = toRead.takeFirst();
        for (const QUrl& link : linksOf(folder.filePath(page)).links) {
            SCOPED_TRACE(page.toStdString() + " -> " + link.toString().toStdString());
            ASSERT_TRUE(link.isRelative()) << "a link out of the help";
            const QString target = link.path().isEmpty() ? page : link.path();
            ASSERT_TRUE(pageNames.contains(target)) << "no such page";
            if (link.hasFragment()) {
                EXPECT_TRUE(linksOf(folder.filePath(target)).anchors.contains(link.fragment()))
                    << "no such place on the page";
            }
            if (!reached.contains(target)) {
                reached.insert(target);
                toRead.append(target);
            }
        }
    }
    EXPECT_EQ(reached, pageNames) << "a page no link leads to";
}

TEST_F(HelpPages, ABrowserThatCannotStartIsReportedInABoxOfItsOwn) {
    parts.processes.browser = "\"/opt/web/browse\" \"%1\"";
    parts.processes.results = {2, 2};
    click("WebLaunch");

    QMessageBox* box = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<QMessageBox*>(window);
            candidate && window->isVisible()) {
            box = candidate;
        }
    }
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), nullptr);
    EXPECT_EQ(box->windowTitle(), "Your browser is not working");
    EXPECT_EQ(box->text(),
              "I could not launch your web browser with the command ` /opt/web/browse "
              "http://www.mivo.example.org/ '.");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    // The click has returned: the box waits on its own.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    box->grab().save(screenshotPath("browser-not-working.png"));
    QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

}  // namespace
}  // namespace mivo::test
