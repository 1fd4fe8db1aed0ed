#include "HelpWindow.h"

#include <QFont>
#include <QResizeEvent>
#include <QTextDocument>
#include <algorithm>

#include "WindowSetup.h"

namespace mivo {

namespace {

constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 23;
constexpr int kMargin = 4;
constexpr int kPagesTop = kButtonHeight + 2 * kMargin;

// The panel's 11-pixel face suits captions, not pages of reading.
constexpr int kTextPixelSize = 13;

constexpr int kPageMargin = 12;
const char* const kPageStyle =
    "h1 { font-size: 20px; color: #1f3f7f; }"
    "h2 { font-size: 16px; color: #1f3f7f; margin-top: 14px; }"
    "table { border-collapse: collapse; border-color: #b8c0d0; }"
    "td, th { border-width: 1px; border-style: solid; border-color: #b8c0d0; }"
    "th { background-color: #e4e8f0; text-align: left; }"
    "code, pre { font-family: monospace; }";

void setUpButton(QPushButton& button, const char* name, const char* caption, int left) {
    place(button, QString::fromLatin1(name), left, kMargin, kButtonWidth, kButtonHeight);
    button.setText(QString::fromLatin1(caption));
}

}  // namespace

HelpWindow::HelpWindow(const UiPort& ui) : QWidget(nullptr, Qt::Window) {
    setUpWindow(*this, "Help", "Mivo Help", outerSize());
    setUpButton(m_contents, "Contents", "Contents", kMargin);
    setUpButton(m_back, "Back", "Back", 2 * kMargin + kButtonWidth);
    setUpButton(m_forward, "Forward", "Forward", 3 * kMargin + 2 * kButtonWidth);
    m_back.setEnabled(false);
    m_forward.setEnabled(false);

    m_pages.setObjectName(QStringLiteral("Pages"));
    QFont text = m_pages.font();
    text.setPixelSize(kTextPixelSize);
    m_pages.setFont(text);
    m_pages.document()->setDocumentMargin(kPageMargin);
    m_pages.document()->setDefaultStyleSheet(QString::fromLatin1(kPageStyle));
    // Every link leads to another page of the help; nothing leaves it.
    m_pages.setOpenExternalLinks(false);

    connect(&m_contents, &QPushButton::clicked, this,
            [this] { m_pages.setSource(contentsPage()); });
    connect(&m_back, &QPushButton::clicked, &m_pages, &QTextBrowser::backward);
    connect(&m_forward, &QPushButton::clicked, &m_pages, &QTextBrowser::forward);
    connect(&m_pages, &QTextBrowser::backwardAvailable, &m_back, &QPushButton::setEnabled);
    connect(&m_pages, &QTextBrowser::forwardAvailable, &m_forward, &QPushButton::setEnabled);
    connect(&m_pages, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(QStringLiteral("Mivo Help - ") + m_pages.documentTitle()); });

    layOut();
    centreOnScreen(*this, outerSize(), ui);
}

QUrl HelpWindow::contentsPage() {
    return QUrl(QStringLiteral("qrc:/help/index.html"));
}

QSize HelpWindow::outerSize() {
    return QSize(640, 560);
}

void HelpWindow::showContents() {
    m_pages.setSource(contentsPage());
    show();
    raise();
    activateWindow();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void HelpWindow::layOut() {
    m_pages.setGeometry(0, kPagesTop, width(), std::max(0, height() - kPagesTop));
}

}  // namespace mivo
