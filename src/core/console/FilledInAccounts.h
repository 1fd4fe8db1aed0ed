#pragma once
// Whether the settings mivo-check loaded give it anything to check at all.

#include "model/MainWindowModel.h"

namespace mivo {

// Whether any account has a user name, a password or a host.
bool anyAccountFilledIn(MainWindowModel& window);

}  // namespace mivo
