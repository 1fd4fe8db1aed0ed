#include "text/TimeText.h"

#include <array>
#include <cstdio>

namespace mivo {

std::string timeText(const LocalTime& time) {
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto pick = [](const auto& names, int index) {
        return names[static_cast<std::size_t>(index) % names.size()];
    };
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %d", pick(kDays, time.weekday),
                  pick(kMonths, time.month - 1), time.day, time.hour, time.minute, time.second,
                  time.year);
    return buffer;
}

}  // namespace mivo
