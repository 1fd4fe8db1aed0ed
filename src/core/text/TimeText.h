#pragma once
// The 24-character time text used in the Log and the summaries, e.g.
// "Wed Jan 03 09:05:07 2001": English names, whatever the user's locale.

#include <string>

#include "ports/ClockPort.h"

namespace mivo {

std::string timeText(const LocalTime& time);

}  // namespace mivo
