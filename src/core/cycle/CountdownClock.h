#pragma once
// The countdown clock left of "Check now!": which strokes one tick paints.
// Pure geometry, so the check cycle decides when and the GUI only rasterises.

#include <vector>

#include "ports/ClockSegment.h"

namespace mivo {

struct ClockInputs {
    int tickBefore = 0;          // TickCount before this tick's increment: turns the hand
    int tickAfter = 0;           // TickCount after it: picks the colour
    bool checkMailEvery = true;  // CheckBox2
    bool settingsOk = true;
    bool connected = false;
    bool connecting = false;
    bool accountError = false;  // some account's error flag is set
};

// The clock's square: x 2..31, y 19..48, centred on (17, 34).
namespace clockface {
constexpr int kLeft = 2;
constexpr int kTop = 19;
constexpr int kSize = 30;
constexpr int kCentreX = 17;
constexpr int kCentreY = 34;
}  // namespace clockface

// The pen colour the hand or star is drawn with.
PenColour clockColour(const ClockInputs& inputs);

// The erase strokes over the whole square, then the hand (timed checks on and
// settings ok) or the turning star (otherwise), in drawing order.
std::vector<ClockSegment> countdownClock(const ClockInputs& inputs);
// The same strokes in place of what `segments` held: the clock is drawn every
// second, and a vector kept for it is not reallocated each time.
void drawCountdownClock(const ClockInputs& inputs, std::vector<ClockSegment>& segments);

}  // namespace mivo
