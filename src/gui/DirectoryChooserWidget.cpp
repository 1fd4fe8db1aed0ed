// TForm2, the directory chooser.
#include "DirectoryChooserWidget.h"

#include <QDir>
#include <QKeyEvent>
#include <QPointer>
#include <QShowEvent>
#include <QStyle>
#include <algorithm>

#include "FieldBinding.h"
#include "WindowSetup.h"
#include "posix/WritableRoots.h"

namespace mivo {

namespace {

// Client pixels: the lists on the left, the buttons in a column at the right.
constexpr int kMargin = 8;
constexpr int kGap = 9;
constexpr int kDriveHeight = 22;
constexpr int kListTop = kMargin + kDriveHeight + 6;
constexpr int kLabelHeight = 16;
constexpr int kOkWidth = 49;
constexpr int kOkHeight = 50;
constexpr int kCancelHeight = 25;

// Whether `folder` is `root` or lies under it.
bool isWithin(const QString& folder, const QString& root) {
    return root == QLatin1String("/") || folder == root ||
           folder.startsWith(root + QLatin1Char('/'));
}

}  // namespace

TForm2::TForm2(Program& program)
    : QWidget(nullptr, Qt::Window),
      m_handlers(program.directoryChooserBehaviour()),
      m_label1Text(program.directoryChooser().Label1) {
    setUpWindow(*this, "Form2", "Clunky Dir Select", outerSize());
    m_driveComboBox1.setObjectName(QStringLiteral("DriveComboBox1"));
    m_directoryListBox1.setObjectName(QStringLiteral("DirectoryListBox1"));
    m_label1.setObjectName(QStringLiteral("Label1"));
    m_ok.setObjectName(QStringLiteral("OK"));
    m_ok.setText(QStringLiteral("OK"));
    m_cancel.setObjectName(QStringLiteral("Cancel"));
    m_cancel.setText(QStringLiteral("Cancel"));
    setTabOrder(&m_driveComboBox1, &m_directoryListBox1);
    setTabOrder(&m_directoryListBox1, &m_ok);
    setTabOrder(&m_ok, &m_cancel);

    connect(&m_directoryListBox1, &FolderListBox::currentFolderChanged, this,
            [this](const QString& folder) {
                m_label1Text.set(toStdString(folder));
                selectDriveOf(folder);
            });
    // The label shows the folder list's folder, however it got there.
    auto showLabel1 = [guard = QPointer<ElidedLabel>(&m_label1), &field = m_label1Text] {
        if (guard) {
            guard->setFullText(toQString(field.get()));
        }
    };
    showLabel1();
    m_label1Text.onChange(showLabel1);
    connect(&m_driveComboBox1, &QComboBox::activated, this, [this](int index) {
        m_directoryListBox1.setCurrentFolder(m_driveComboBox1.itemData(index).toString());
    });
    DirectoryChooser& handlers = m_handlers;
    connect(&m_ok, &QPushButton::clicked, this, [&handlers] { handlers.OKClick(); });
    connect(&m_cancel, &QPushButton::clicked, this, [&handlers] { handlers.CancelClick(); });

    layOut();
    // The drives and folders are listed when the window is shown (their
    // icons alone would cost a program that never opens it megabytes).
    m_directoryListBox1.setCurrentFolder(QDir::currentPath());
    // No creation step of its own: the window stays at its design position.
    move(278, 162);
}

QSize TForm2::outerSize() {
    return QSize(286, 245);
}

void TForm2::fillDriveList() {
    const QString chosen = m_driveComboBox1.currentData().toString();
    const QString home = QDir::homePath();
    m_driveComboBox1.clear();
    for (const std::string& root : writableRoots(home.toStdString())) {
        const QString path = toQString(root);
        const QStyle::StandardPixmap icon = path == home                 ? QStyle::SP_DirHomeIcon
                                            : path == QLatin1String("/") ? QStyle::SP_DriveHDIcon
                                                                         : QStyle::SP_DriveFDIcon;
        m_driveComboBox1.addItem(style()->standardIcon(icon), path, path);
    }
    if (!chosen.isEmpty()) {
        m_driveComboBox1.setCurrentIndex(std::max(0, m_driveComboBox1.findData(chosen)));
    }
}

void TForm2::selectDriveOf(const QString& folder) {
    // The innermost listed drive that holds the folder.
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < m_driveComboBox1.count(); ++i) {
        const QString root = m_driveComboBox1.itemData(i).toString();
        if (isWithin(folder, root) && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    m_driveComboBox1.setCurrentIndex(best);
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Drives come and go between showings (a stick plugged in); the folder
    // stays where it was.
    if (!event->spontaneous()) {
        fillDriveList();
        selectDriveOf(m_directoryListBox1.currentFolder());
    }
}

void TForm2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cancel.click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm2::layOut() {
    const int buttonsLeft = width() - kMargin - kOkWidth;
    const int listWidth = std::max(1, buttonsLeft - kGap - kMargin);
    const int labelTop = height() - kMargin - kLabelHeight;
    m_driveComboBox1.setGeometry(kMargin, kMargin, listWidth, kDriveHeight);
    m_directoryListBox1.setGeometry(kMargin, kListTop, listWidth,
                                    std::max(1, labelTop - 4 - kListTop));
    m_label1.setGeometry(kMargin, labelTop, listWidth, kLabelHeight);
    m_ok.setGeometry(buttonsLeft, kListTop, kOkWidth, kOkHeight);
    m_cancel.setGeometry(buttonsLeft, kListTop + kOkHeight + 6, kOkWidth, kCancelHeight);
}

}  // namespace mivo
