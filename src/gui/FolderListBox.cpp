#include "FolderListBox.h"

#include <QDir>
#include <QShowEvent>
#include <QStyle>
#include <memory>

namespace mivo {

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kIndentation = 10;
}  // namespace

FolderListBox::FolderListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(kIndentation);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        setCurrentFolder(item->data(0, kPathRole).toString());
    });
}

void FolderListBox::setCurrentFolder(const QString& path) {
    const QString cleaned = QDir::cleanPath(path);
    if (cleaned == m_current) {
        return;
    }
    m_current = cleaned;
    m_filled = false;
    if (isVisible()) {
        fill();
    }
    emit currentFolderChanged(m_current);
}

void FolderListBox::showEvent(QShowEvent* event) {
    if (!m_filled) {
        fill();
    }
    QTreeWidget::showEvent(event);
}

void FolderListBox::fill() {
    m_filled = true;
    clear();
    // The chain of open folders, from the root down.
    QString path = QStringLiteral("/");
    QTreeWidgetItem* current = &addFolder(nullptr, path, path, true);
    for (const QString& name : m_current.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path = QDir(path).filePath(name);
        current = &addFolder(current, name, path, true);
    }
    const QDir folder(m_current);
    const QFileInfoList children = folder.entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo& child : children) {
        addFolder(current, child.fileName(), child.filePath(), false);
    }
    expandAll();
    setCurrentItem(current);
    // With the way up above it and the way down below it.
    scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

void FolderListBox::drawBranches(QPainter* /*painter*/, const QRect& /*rect*/,
                                 const QModelIndex& /*index*/) const {
    // Every folder shown is open and stays open: no arrows to fold it, only
    // the indentation.
}

QTreeWidgetItem& FolderListBox::addFolder(QTreeWidgetItem* parent, const QString& name,
                                          const QString& path, bool open) {
    auto item = std::make_unique<QTreeWidgetItem>(QStringList{name});
    item->setData(0, kPathRole, path);
    item->setIcon(0,
                  style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    QTreeWidgetItem& added = *item;
    if (parent == nullptr) {
        addTopLevelItem(item.release());
    } else {
        parent->addChild(item.release());
    }
    return added;
}

}  // namespace mivo
