#pragma once
// The directory chooser's folder list: the path from the root down to the
// current folder, each step indented one further, then the current folder's
// sub-folders. Activating a folder (a double click, or Enter) makes it the
// current one.

#include <QString>
#include <QTreeWidget>

namespace mivo {

class FolderListBox : public QTreeWidget {
    Q_OBJECT

public:
    explicit FolderListBox(QWidget* parent);

    // `path` is absolute; it is cleaned ("a/../b" is "b") before it is shown.
    // The list is filled when it is seen: a hidden list only keeps the path,
    // so a program that never opens the chooser pays nothing for it.
    void setCurrentFolder(const QString& path);
    const QString& currentFolder() const { return m_current; }

signals:
    void currentFolderChanged(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    void fill();
    QTreeWidgetItem& addFolder(QTreeWidgetItem* parent, const QString& name, const QString& path,
                               bool open);

    QString m_current;
    bool m_filled = false;  // the items show m_current
};

}  // namespace mivo
