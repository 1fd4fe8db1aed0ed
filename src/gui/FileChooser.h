#pragma once
// The Browse buttons' file-open dialog: Qt's own dialog rather than the
// desktop's, so that it looks the same everywhere and tests can drive it.

#include <QString>
#include <QWidget>

#include "ports/FileChooserPort.h"

namespace mivo {

class QtFileChooser : public FileChooserPort {
public:
    explicit QtFileChooser(QWidget& parent) : m_parent(parent) {}

    std::optional<std::string> chooseFile(const FileDialog& dialog,
                                          const std::string& fileName) override;

    // The directory of `fileName` when it names one that exists, else the
    // user's home directory, where programs and documents are looked for
    // when there is nothing better to go on.
    static QString startDirectory(const QString& fileName);

private:
    QWidget& m_parent;
};

}  // namespace mivo
