#pragma once
// The local wall-clock time from the C library, in the time zone the user
// has set, and the system's monotonic clock.

#include "ports/ClockPort.h"

namespace mivo {

class SystemClock : public ClockPort {
public:
    LocalTime now() const override;
    std::int64_t monotonicMilliseconds() const override;
};

}  // namespace mivo
