#pragma once
// TForm2, the directory chooser: a drive list, a folder list and the folder
// it has got to, with OK handing that folder to the advanced options dialog
// (the core's DirectoryChooser). Built when first shown; it keeps its drive
// and folder between showings.

#include <QComboBox>
#include <QPushButton>
#include <QSize>
#include <QWidget>

#include "ElidedLabel.h"
#include "FolderListBox.h"
#include "app/Program.h"

namespace mivo {

class TForm2 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step: the folder list starts
    // at the program's current directory.
    explicit TForm2(Program& program);

    static QSize outerSize();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillDriveList();
    void selectDriveOf(const QString& folder);
    void layOut();

    DirectoryChooser& m_handlers;
    TextField& m_label1Text;

    QComboBox m_driveComboBox1{this};
    FolderListBox m_directoryListBox1{this};
    ElidedLabel m_label1{this};
    QPushButton m_ok{this};
    QPushButton m_cancel{this};
};

}  // namespace mivo
