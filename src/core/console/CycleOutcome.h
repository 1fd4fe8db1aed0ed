#pragma once
// A check cycle's end as a script wants to know it: did it find new mail,
// and did every account that has details get checked.

#include "cycle/CycleReport.h"
#include "model/CycleState.h"

namespace mivo {

enum class CycleStatus { NewMail = 0, NoNewMail = 1, NoNewMailAndAccountFailed = 2 };

CycleStatus cycleStatus(const CycleReport& report);

// Whether the cycle stopped at an account (connect time-out, open failed at
// once) and waits for the next Check now to go on.
bool stoppedAtAccount(const CycleState& cycle);

}  // namespace mivo
