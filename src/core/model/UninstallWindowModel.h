#pragma once
// The uninstall window TINIT: one light per removal step, white until its
// step starts, yellow while it runs, green once done, and DONE, which
// appears once every step is over.

#include "fields/Field.h"

namespace mivo {

enum class StepLight { White, Yellow, Green };

struct UninstallWindowModel {
    // The lights of the settings, menu, start-up and program-files steps.
    Field<StepLight> Shape1{StepLight::White};
    Field<StepLight> Shape2{StepLight::White};
    Field<StepLight> Shape3{StepLight::White};
    Field<StepLight> Shape4{StepLight::White};
    Field<bool> DONEVisible{false};
    // Ticks of the step timer so far; never reset.
    int stepCounter = 0;
};

}  // namespace mivo
