#include "PixelLine.h"

#include <cstdlib>

namespace mivo {

void drawLineTo(QImage& image, QPoint from, QPoint to, QRgb colour) {
    // Bresenham, stopping one step short of the end point.
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = -std::abs(to.y() - y);
    const int stepX = x < to.x() ? 1 : -1;
    const int stepY = y < to.y() ? 1 : -1;
    int error = dx + dy;
    while (x != to.x() || y != to.y()) {
        if (image.valid(x, y)) {
            image.setPixel(x, y, colour);
        }
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

}  // namespace mivo
