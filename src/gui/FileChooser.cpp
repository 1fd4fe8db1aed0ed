#include "FileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "FieldBinding.h"

namespace mivo {

QString QtFileChooser::startDirectory(const QString& fileName) {
    if (!fileName.isEmpty()) {
        const QFileInfo file(fileName);
        if (file.isAbsolute() && file.absoluteDir().exists()) {
            return file.absolutePath();
        }
    }
    return QDir::homePath();
}

std::optional<std::string> QtFileChooser::chooseFile(const FileDialog& request,
                                                     const std::string& fileName) {
    QFileDialog dialog(&m_parent, toQString(std::string(request.title)));
    dialog.setObjectName(QStringLiteral("FileChooser"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Every name can be a program or a media file on Linux: one type, "*".
    dialog.setNameFilter(toQString(std::string(request.filterName)) + QStringLiteral(" (*)"));
    if (request.executablesOnly) {
        dialog.setFilter(dialog.filter() | QDir::Executable);
    }
    const QString name = toQString(fileName);
    const QString start = startDirectory(name);
    dialog.setDirectory(start);
    // A path into a directory that is gone starts over at home with just
    // its file name, rather than with a path the dialog would misread.
    const QFileInfo file(name);
    dialog.selectFile(file.isAbsolute() && file.absolutePath() != start ? file.fileName() : name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toStdString(dialog.selectedFiles().constFirst());
}

}  // namespace mivo
