#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace mivo {

namespace {

constexpr int kSize = 32;
constexpr QRgb kOutline = qRgb(0x20, 0x3a, 0x6b);
constexpr QRgb kPaper = qRgb(0xfb, 0xf8, 0xee);
constexpr QRgb kFlap = qRgb(0xe6, 0xdd, 0xc4);
constexpr QRgb kFold = qRgb(0xb4, 0xa8, 0x88);
constexpr QRgb kBadge = qRgb(0xd9, 0x2d, 0x20);
constexpr QRgb kBadgeRim = qRgb(0xff, 0xff, 0xff);

// A round badge drawn by distance from the centre pixel, so its edge is the
// same on every renderer.
void drawBadge(QImage& image, int centreX, int centreY) {
    for (int y = centreY - 6; y <= centreY + 6; ++y) {
        for (int x = centreX - 6; x <= centreX + 6; ++x) {
            const int dx = x - centreX;
            const int dy = y - centreY;
            const int squared = dx * dx + dy * dy;
            if (!image.valid(x, y)) {
                continue;
            }
            if (squared <= 20) {
                image.setPixel(x, y, kBadge);
            } else if (squared <= 32) {
                image.setPixel(x, y, kBadgeRim);
            }
        }
    }
    // A glint on the badge.
    image.setPixel(centreX - 1, centreY - 2, qRgb(0xf4, 0x8a, 0x80));
}

}  // namespace

QImage programIconImage() {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);

        // The envelope's paper and its closed flap.
        const QRect body(1, 9, 30, 20);
        painter.fillRect(body, QColor(kPaper));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(kFlap));
        painter.drawPolygon(
            QPolygon({QPoint(2, 10), QPoint(29, 10), QPoint(16, 20), QPoint(15, 20)}));

        // The folds from the lower corners, then the flap's edges.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(kFold), 0));
        painter.drawLine(2, 27, 11, 19);
        painter.drawLine(29, 27, 20, 19);
        painter.setPen(QPen(QColor(kOutline), 0));
        painter.drawLine(1, 9, 15, 20);
        painter.drawLine(30, 9, 16, 20);
        painter.drawRect(body.adjusted(0, 0, -1, -1));
    }
    drawBadge(image, 25, 6);
    return image;
}

QIcon programIcon() {
    return QIcon(QPixmap::fromImage(programIconImage()));
}

}  // namespace mivo
