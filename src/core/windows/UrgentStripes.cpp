#include "windows/UrgentStripes.h"

namespace mivo {

std::vector<StripeLine> stripeSegments(int counter, StripeColumn column, bool mirrored) {
    const int near = mirrored ? column.left + column.width : column.left;
    const int far = mirrored ? column.left : column.left + column.width;
    const int end = column.top + column.height + counter + 20;
    std::vector<StripeLine> lines;
    // From above the column's top, so its first pixels are banded too.
    for (int y = column.top + counter - 50; y < end; y += 20) {
        lines.push_back({{near, y}, {far, y + 10}, StripeColour::Yellow});
        lines.push_back({{near, y + 10}, {far, y + 20}, StripeColour::Black});
    }
    return lines;
}

}  // namespace mivo
