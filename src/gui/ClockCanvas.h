#pragma once
// The countdown clock's own pixels: what the last ticks painted into the
// clock's square stays here until painted over, and repaints show it.

#include <QColor>
#include <QImage>
#include <QRect>
#include <vector>

#include "ports/ClockSegment.h"

namespace mivo {

class ClockCanvas {
public:
    ClockCanvas();

    // The square in the main window's client coordinates.
    static QRect area();

    // Paints the strokes in order; `buttonFace` stands in for the system
    // button-face colour.
    void draw(const std::vector<ClockSegment>& segments, QColor buttonFace);

    // Transparent until the first stroke.
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

}  // namespace mivo
