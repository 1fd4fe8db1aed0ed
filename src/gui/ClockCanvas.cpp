#include "ClockCanvas.h"

#include "PixelLine.h"
#include "cycle/CountdownClock.h"

namespace mivo {

ClockCanvas::ClockCanvas() : m_image(area().size(), QImage::Format_ARGB32) {
    m_image.fill(Qt::transparent);
}

QRect ClockCanvas::area() {
    return QRect(clockface::kLeft, clockface::kTop, clockface::kSize, clockface::kSize);
}

void ClockCanvas::draw(const std::vector<ClockSegment>& segments, QColor buttonFace) {
    const QPoint origin = area().topLeft();
    for (const ClockSegment& segment : segments) {
        const QRgb colour =
            segment.colour.buttonFace
                ? buttonFace.rgb()
                : qRgb(segment.colour.red, segment.colour.green, segment.colour.blue);
        drawLineTo(m_image, QPoint(segment.from.x, segment.from.y) - origin,
                   QPoint(segment.to.x, segment.to.y) - origin, colour);
    }
}

}  // namespace mivo
