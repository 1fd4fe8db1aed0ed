// Writes the program's picture as the PNG files of the desktop's icon theme,
// so that menus and launchers show the same envelope the program shows.
// Usage: mivo-export-icons DIRECTORY SIZE...; writes DIRECTORY/SIZExSIZE/mivo.png.

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramIcon.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIRECTORY SIZE...\n", argv[0]);
        return 2;
    }
    const QImage picture = mivo::programIconImage();
    const QString directory = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "not a size: %s\n", argv[i]);
            return 2;
        }
        // The picture is drawn pixel by pixel: whole multiples keep its
        // pixels square and crisp; other sizes are smoothed.
        const Qt::TransformationMode mode =
            size % picture.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
        const QImage scaled = picture.scaled(size, size, Qt::KeepAspectRatio, mode);
        const QString sizeDirectory = directory + QStringLiteral("/%1x%1").arg(size);
        if (!QDir().mkpath(sizeDirectory) ||
            !scaled.save(sizeDirectory + QStringLiteral("/mivo.png"), "PNG")) {
            std::fprintf(stderr, "cannot write the %dx%d icon under %s\n", size, size, argv[1]);
            return 1;
        }
    }
    return 0;
}
