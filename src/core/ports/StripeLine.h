#pragma once
// One line of the urgent notice's stripes, in the notice's client pixels.
// Lines follow line-to rules: the end point itself is not painted.

namespace mivo {

enum class StripeColour { Yellow, Black };

struct StripePoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const StripePoint&, const StripePoint&) = default;
};

struct StripeLine {
    StripePoint from;
    StripePoint to;
    StripeColour colour = StripeColour::Yellow;

    friend bool operator==(const StripeLine&, const StripeLine&) = default;
};

}  // namespace mivo
