#include "MailAnimation.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace mivo {

namespace {

// The story in frames, counted from 0: the flight, the slide into the
// pocket, the flap closing, the hop with the badge, a rest, the flap opening.
constexpr int kFlightEnd = 12;
constexpr int kSlideEnd = 18;
constexpr int kCloseEnd = 24;
constexpr int kHopEnd = 30;
constexpr int kRestEnd = 32;
constexpr int kStepsToOpen = kMailAnimationFrames - kRestEnd;

// Where the envelope is drawn and how it is folded in one frame.
struct Scene {
    QPointF letterCentre{-100, -100};  // off the picture when not flying
    double letterAngle = 0;            // degrees
    double letterScale = 1;
    double flap = -1;  // -1 wide open (pointing up) .. 1 closed
    double hop = 0;    // pixels the envelope is lifted
    bool squashed = false;
    double badge = 0;  // size of the badge, 0 for none
    int sparkle = -1;  // turn of the sparkles around the badge, -1 for none
};

double fraction(int step, int steps) {
    return static_cast<double>(step + 1) / steps;
}

QPointF flightPoint(double t) {
    // A curve from the top left that drops onto the envelope's mouth.
    const QPointF from(7, 15);
    const QPointF bend(15, -1);
    const QPointF to(30, 13);
    const double u = 1 - t;
    return u * u * from + 2 * u * t * bend + t * t * to;
}

Scene sceneOf(int frame) {
    Scene scene;
    if (frame < kFlightEnd) {
        const double t = fraction(frame, kFlightEnd);
        scene.letterCentre = flightPoint(t);
        scene.letterAngle = -40 * (1 - t);
        scene.letterScale = 0.55 + 0.45 * t;
    } else if (frame < kSlideEnd) {
        const double t = fraction(frame - kFlightEnd, kSlideEnd - kFlightEnd);
        scene.letterCentre = QPointF(30, 13 + 22 * t);
    } else if (frame < kCloseEnd) {
        scene.flap = -1 + 2 * fraction(frame - kSlideEnd, kCloseEnd - kSlideEnd);
    } else if (frame < kHopEnd) {
        static constexpr double kHops[] = {4, 8, 10, 8, 4, 0};
        const int step = frame - kCloseEnd;
        scene.flap = 1;
        scene.hop = kHops[step];
        scene.squashed = step == kHopEnd - kCloseEnd - 1;
        scene.badge = std::min(1.0, 0.35 + 0.25 * step);
        scene.sparkle = step;
    } else if (frame < kRestEnd) {
        scene.flap = 1;
        scene.badge = frame == kHopEnd ? 1.2 : 1.0;
        scene.sparkle = frame - kCloseEnd;
    } else {
        // Not quite wide open: the next letter's arrival opens it the rest
        // of the way, so the round ends on a frame of its own.
        const double t = fraction(frame - kRestEnd, kStepsToOpen);
        scene.flap = 1 - 1.85 * t;
        scene.badge = 1 - t;
    }
    return scene;
}

void paintSky(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, 60);
    sky.setColorAt(0, QColor(233, 244, 255));
    sky.setColorAt(1, QColor(196, 224, 250));
    painter.fillRect(QRectF(0, 0, 60, 60), sky);
}

void paintShadow(QPainter& painter, double hop) {
    // Higher up, the shadow is smaller and fainter.
    const double width = 44 - hop * 1.6;
    const int alpha = static_cast<int>(70 - hop * 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 90, 130, alpha));
    painter.drawEllipse(QPointF(30, 56), width / 2, 2.5);
}

QPolygonF flapOf(const QRectF& body, double flap) {
    const double depth = body.height() * 0.6;
    return QPolygonF(
        {body.topLeft(), body.topRight(), QPointF(body.center().x(), body.top() + flap * depth)});
}

void paintLetter(QPainter& painter, const Scene& scene) {
    painter.save();
    painter.translate(scene.letterCentre);
    painter.rotate(scene.letterAngle);
    painter.scale(scene.letterScale, scene.letterScale);
    painter.setPen(QPen(QColor(110, 125, 150), 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(-12, -8.5, 24, 17), 1.5, 1.5);
    painter.setPen(QPen(QColor(80, 130, 215), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-8, -3.5), QPointF(3, -3.5));
    painter.drawLine(QPointF(-8, 0.5), QPointF(8, 0.5));
    painter.drawLine(QPointF(-8, 4.5), QPointF(5, 4.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(225, 60, 60));
    painter.drawRect(QRectF(6, -6.5, 4, 4));
    painter.restore();
}

void paintBadge(QPainter& painter, const QRectF& body, const Scene& scene) {
    const QPointF centre(body.right() - 2, body.top() + 1);
    if (scene.sparkle >= 0) {
        painter.setPen(QPen(QColor(255, 200, 40), 1.4, Qt::SolidLine, Qt::RoundCap));
        for (int ray = 0; ray < 4; ++ray) {
            const double angle = (ray * 90 + scene.sparkle * 17) * std::numbers::pi / 180;
            const QPointF direction(std::cos(angle), std::sin(angle));
            painter.drawLine(centre + direction * 9, centre + direction * 12);
        }
    }
    if (scene.badge <= 0) {
        return;
    }
    const double radius = 6.5 * scene.badge;
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(QColor(220, 40, 40));
    painter.drawEllipse(centre, radius, radius);
    if (scene.badge >= 0.6) {
        painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + QPointF(0, -3 * scene.badge), centre + QPointF(0, 0.8));
        painter.drawPoint(centre + QPointF(0, 3 * scene.badge));
    }
}

void paintEnvelope(QPainter& painter, const Scene& scene) {
    const double width = scene.squashed ? 48 : 44;
    const double height = scene.squashed ? 25 : 28;
    const QRectF body(30 - width / 2, 54 - height - scene.hop, width, height);
    const QColor outline(150, 115, 55);

    // Behind the letter: the inside, and the flap while it stands open.
    painter.setPen(QPen(outline, 1));
    painter.setBrush(QColor(222, 196, 140));
    painter.drawRect(body);
    if (scene.flap < 0) {
        painter.setBrush(QColor(236, 212, 154));
        painter.drawPolygon(flapOf(body, scene.flap));
    }

    paintLetter(painter, scene);

    // The pocket in front of the letter, with its folds.
    painter.setPen(QPen(outline, 1));
    painter.setBrush(QColor(255, 244, 214));
    painter.drawRect(body);
    const QPointF fold(body.center().x(), body.top() + body.height() * 0.55);
    painter.setBrush(QColor(248, 231, 188));
    painter.drawPolygon(QPolygonF({body.bottomLeft(), fold, body.bottomRight()}));
    if (scene.flap >= 0) {
        painter.setBrush(QColor(246, 226, 176));
        painter.drawPolygon(flapOf(body, scene.flap));
    }
    paintBadge(painter, body, scene);
}

}  // namespace

QImage mailAnimationFrame(int number) {
    const int frame = std::clamp(number, 1, kMailAnimationFrames) - 1;
    const Scene scene = sceneOf(frame);
    QImage image(kMailAnimationFrameSize, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintSky(painter);
    paintShadow(painter, scene.hop);
    paintEnvelope(painter, scene);
    return image;
}

}  // namespace mivo
