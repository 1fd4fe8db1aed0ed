#pragma once
// The urgent notice's stripes: the yellow and black lines one tick draws
// into a stripe column. Drawn over the last ticks' lines, one pixel lower
// each tick, they make diagonal bands that move down the column.

#include <vector>

#include "ports/StripeLine.h"

namespace mivo {

struct StripeColumn {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// `counter`: the stripe counter after this tick's step. The left column's
// lines slope down to the right; `mirrored` slopes them down to the left.
std::vector<StripeLine> stripeSegments(int counter, StripeColumn column, bool mirrored);

}  // namespace mivo
