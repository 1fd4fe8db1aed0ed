#include "cycle/CountdownClock.h"

#include <cmath>
#include <numbers>

namespace mivo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr PenColour kRed{false, 255, 0, 0};
constexpr PenColour kGreen{false, 0, 255, 0};

// The point at angle theta and radius r from the centre, truncated toward
// zero like the pen coordinates it feeds.
ClockPoint pointAt(double theta, double r) {
    return {static_cast<int>(std::trunc(clockface::kCentreX + r * std::sin(theta))),
            static_cast<int>(std::trunc(clockface::kCentreY + r * std::cos(theta)))};
}

class Pen {
public:
    Pen(std::vector<ClockSegment>& out, PenColour colour) : m_out(out), m_colour(colour) {}
    void moveTo(ClockPoint point) { m_at = point; }
    void lineTo(ClockPoint point) {
        m_out.push_back({m_at, point, m_colour});
        m_at = point;
    }

private:
    std::vector<ClockSegment>& m_out;
    PenColour m_colour;
    ClockPoint m_at;
};

}  // namespace

PenColour clockColour(const ClockInputs& inputs) {
    const int t = inputs.tickAfter;
    PenColour colour;
    // Green through yellow to orange over the interval.
    if (t < 100) {
        colour.red = 2 * (t * 255 / 200);
        colour.green = 255;
    } else {
        colour.red = 255;
        colour.green = ((200 - t) * 255 + 25500) / 200;
    }
    if (t >= 200 || inputs.connected || inputs.connecting) {
        colour = kRed;
    }
    if (!inputs.settingsOk) {
        colour = kRed;
    }
    if (!inputs.checkMailEvery && inputs.settingsOk) {
        colour = kGreen;
    }
    // Until the account is checked again or edited, not only until the
    // cycle ends: the user is not watching when it fails.
    if (inputs.accountError) {
        colour = kRed;
    }
    return colour;
}

std::vector<ClockSegment> countdownClock(const ClockInputs& inputs) {
    std::vector<ClockSegment> segments;
    drawCountdownClock(inputs, segments);
    return segments;
}

void drawCountdownClock(const ClockInputs& inputs, std::vector<ClockSegment>& segments) {
    segments.clear();
    Pen eraser(segments, PenColour{true, 0, 0, 0});
    for (int y = clockface::kTop; y < clockface::kTop + clockface::kSize; ++y) {
        eraser.moveTo({clockface::kLeft, y});
        eraser.lineTo({clockface::kLeft + clockface::kSize, y});
    }

    Pen pen(segments, clockColour(inputs));
    // Straight up at tick 0, one clockwise turn per 200 ticks.
    const double a = kPi + 2 * kPi * 0.005 * (200 - inputs.tickBefore);
    const ClockPoint centre{clockface::kCentreX, clockface::kCentreY};
    if (inputs.checkMailEvery && inputs.settingsOk) {
        // A filled arrowhead: one outline per radius, growing outwards.
        for (int r = 0; r <= 13; ++r) {
            pen.moveTo(centre);
            pen.lineTo(pointAt(a - 0.75 * kPi, r));
            pen.lineTo(pointAt(a, r));
            pen.lineTo(pointAt(a + 0.75 * kPi, r));
            pen.lineTo({clockface::kCentreX, clockface::kCentreY - 4});
        }
    } else {
        // A four-pointed star: long points on the axes of a, short between.
        for (int step = 0; step <= 27; ++step) {
            const double r = step * 0.5;
            pen.moveTo(pointAt(a - kPi, r));
            pen.lineTo(pointAt(a - 0.75 * kPi, r / 3));
            pen.lineTo(pointAt(a - 0.5 * kPi, r));
            pen.lineTo(pointAt(a - 0.25 * kPi, r / 3));
            pen.lineTo(pointAt(a, r));
            pen.lineTo(pointAt(a + 0.25 * kPi, r / 3));
            pen.lineTo(pointAt(a + 0.5 * kPi, r));
            pen.lineTo(pointAt(a + 0.75 * kPi, r / 3));
            pen.lineTo(pointAt(a - kPi, r));
        }
    }
}

}  // namespace mivo
