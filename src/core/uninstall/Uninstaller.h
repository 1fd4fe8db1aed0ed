#pragma once
// The behaviour of the uninstall window TINIT: the 500 ms step timer that
// runs the four removals one tick apart with their lights, and DONE, which
// ends the program. Uninstall mode itself is the start-up decision's.

#include "log/Log.h"
#include "model/UninstallWindowModel.h"
#include "ports/TimerPort.h"
#include "ports/UiPort.h"
#include "uninstall/UninstallSteps.h"
#include "windows/TaskbarPresence.h"

namespace mivo {

class Uninstaller {
public:
    struct Parts {
        UninstallWindowModel& model;
        TaskbarPresence& presence;  // owns the tray icon
        Log& log;
        UninstallSteps& steps;
        UiPort& ui;
        TimerPort& timers;
    };
    explicit Uninstaller(Parts parts);
    Uninstaller(const Uninstaller&) = delete;
    Uninstaller& operator=(const Uninstaller&) = delete;

    // The step timer's tick.
    void Timer1Timer();
    // Ends the program at once. Nothing is saved: the program is uninstalling.
    void DONEClick() { m_ui.terminateApplication(); }

private:
    // Runs `step` between its light's yellow and green.
    template <typename Step>
    void runStep(Field<StepLight>& light, Step step);
    void removeProgramFiles();

    UninstallWindowModel& m_model;
    TaskbarPresence& m_presence;
    Log& m_log;
    UninstallSteps& m_steps;
    UiPort& m_ui;
};

}  // namespace mivo
