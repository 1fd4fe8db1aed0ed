#pragma once
// The local wall-clock time and a monotonic clock, injected so that tests
// can fix them and move them on.

#include <cstdint>

namespace mivo {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 = Sunday
};

class ClockPort {
public:
    virtual ~ClockPort() = default;
    virtual LocalTime now() const = 0;
    // Milliseconds since an arbitrary start; never jumps with the wall clock,
    // so that time-outs measure time actually waited.
    virtual std::int64_t monotonicMilliseconds() const = 0;
};

}  // namespace mivo
