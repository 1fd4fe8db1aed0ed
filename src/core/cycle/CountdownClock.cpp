#include "cycle/CountdownClock.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace mivo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr PenColour kRed{false, 255, 0, 0};
constexpr PenColour kGreen{false, 0, 255, 0};

// An angle's sine and cosine, worked out once: the clock is drawn every
// second, and each of its few angles is used at every radius.
struct Direction {
    double sine;
    double cosine;
    explicit Direction(double theta) : sine(std::sin(theta)), cosine(std::cos(theta)) {}
};

// The point in `direction` at radius r from the centre, truncated toward zero
// like the pen coordinates it feeds.
ClockPoint pointAt(const Direction& direction, double r) {
    return {static_cast<int>(std::trunc(clockface::kCentreX + r * direction.sine)),
            static_cast<int>(std::trunc(clockface::kCentreY + r * direction.cosine))};
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
        const Direction left(a - 0.75 * kPi);
        const Direction tip(a);
        const Direction right(a + 0.75 * kPi);
        for (int r = 0; r <= 13; ++r) {
            pen.moveTo(centre);
            pen.lineTo(pointAt(left, r));
            pen.lineTo(pointAt(tip, r));
            pen.lineTo(pointAt(right, r));
            pen.lineTo({clockface::kCentreX, clockface::kCentreY - 4});
        }
    } else {
        // A four-pointed star: long points on the axes of a, short between.
        // Eight directions a quarter pi apart, starting at a - pi.
        const std::array<Direction, 8> points{Direction(a - kPi),
                                              Direction(a - 0.75 * kPi),
                                              Direction(a - 0.5 * kPi),
                                              Direction(a - 0.25 * kPi),
                                              Direction(a),
                                              Direction(a + 0.25 * kPi),
                                              Direction(a + 0.5 * kPi),
                                              Direction(a + 0.75 * kPi)};
        for (int step = 0; step <= 27; ++step) {
            const double r = step * 0.5;
            pen.moveTo(pointAt(points[0], r));
            for (std::size_t i = 1; i <= points.size(); ++i) {
                // Odd directions are the short points, and the outline closes
                // where it began.
                pen.lineTo(pointAt(points[i % points.size()], i % 2 == 1 ? r / 3 : r));
            }
        }
    }
}

}  // namespace mivo
