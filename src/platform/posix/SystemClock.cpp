#include "SystemClock.h"

#include <ctime>

namespace mivo {

LocalTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm parts{};
    if (localtime_r(&seconds, &parts) == nullptr) {
        return LocalTime{};  // only for times past the year 2^31
    }
    LocalTime local;
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    local.weekday = parts.tm_wday;
    return local;
}

std::int64_t SystemClock::monotonicMilliseconds() const {
    // Asked at every line received (the connection watch's sign of life), a
    // million times for a large download. The coarse clock is a memory read
    // where the precise one reads the hardware clock, and its few
    // milliseconds of resolution are nothing to limits counted in seconds.
    timespec since{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &since);
    return std::int64_t{since.tv_sec} * 1000 + since.tv_nsec / 1000000;
}

}  // namespace mivo
