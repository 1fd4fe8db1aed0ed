#pragma once
// The local wall-clock time from the C library, in the time zone the user
// has set.

#include "ports/ClockPort.h"

namespace mivo {

class SystemClock : public ClockPort {
public:
    LocalTime now() const override;
};

}  // namespace mivo
