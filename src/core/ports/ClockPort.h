#pragma once
// The local wall-clock time, injected so that tests can fix it.

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
};

}  // namespace mivo
