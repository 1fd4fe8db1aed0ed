#pragma once
// The urgent notice TUrgentNotice: its Continue button, which waits a few
// ticks after each show, and the counter that moves its stripes.

#include "fields/Field.h"
#include "windows/UrgentStripes.h"

namespace mivo {

struct UrgentNoticeModel {
    // Bevel1 and Bevel2, the stripe columns, in client pixels.
    static constexpr StripeColumn kBevel1{8, 0, 49, 353};
    static constexpr StripeColumn kBevel2{496, 0, 49, 353};

    Field<bool> Button1Visible{false};
    // 0 at every show; 1..25 in the first round, then 6..25 again and again.
    int stripeCounter = 0;
};

}  // namespace mivo
