#pragma once
// One pen stroke of the countdown clock, in the main window's client pixels.
// Strokes follow line-to rules: the end point itself is not painted.

namespace mivo {

struct PenColour {
    // The colour the platform paints window faces with; the clock erases its
    // square with it so that the erased square blends into the window.
    bool buttonFace = false;
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const PenColour&, const PenColour&) = default;
};

struct ClockPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const ClockPoint&, const ClockPoint&) = default;
};

struct ClockSegment {
    ClockPoint from;
    ClockPoint to;
    PenColour colour;

    friend bool operator==(const ClockSegment&, const ClockSegment&) = default;
};

}  // namespace mivo
