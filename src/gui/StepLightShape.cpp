#include "StepLightShape.h"

#include <QPainter>
#include <QPointer>

namespace mivo {

StepLightShape::StepLightShape(QWidget& parent, Field<StepLight>& light)
    : QWidget(&parent), m_light(light) {
    const QPointer<StepLightShape> guard(this);
    m_light.onChange([guard] {
        if (guard) {
            // Painted at once: the step runs in the same tick and the user
            // would otherwise never see the yellow.
            guard->repaint();
        }
    });
}

QColor StepLightShape::colourOf(StepLight light) {
    switch (light) {
        case StepLight::Yellow:
            return QColor(255, 255, 0);
        case StepLight::Green:
            return QColor(0, 128, 0);
        case StepLight::White:
            break;
    }
    return QColor(255, 255, 255);
}

void StepLightShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(colourOf(m_light.get()));
    // The outline's pen straddles the edge; half a pixel in keeps it whole.
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace mivo
