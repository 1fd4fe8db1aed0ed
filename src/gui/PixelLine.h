#pragma once
// One-pixel lines on an image with pen line-to rules: the start point is
// painted, the end point is not, so joined strokes never paint a pixel twice.

#include <QImage>
#include <QPoint>
#include <QRgb>

namespace mivo {

// Pixels outside the image are skipped.
void drawLineTo(QImage& image, QPoint from, QPoint to, QRgb colour);

}  // namespace mivo
