#include "uninstall/Uninstaller.h"

namespace mivo {

namespace {
// The first two ticks leave the window a second on screen before anything
// goes; then one step a tick, and DONE on the tick after the last.
constexpr int kSettingsTick = 3;
constexpr int kMenuTick = 4;
constexpr int kStartupTick = 5;
constexpr int kProgramFilesTick = 6;
constexpr int kDoneTick = 7;
}  // namespace

Uninstaller::Uninstaller(Parts parts)
    : m_model(parts.model),
      m_presence(parts.presence),
      m_log(parts.log),
      m_steps(parts.steps),
      m_ui(parts.ui) {
    // Enabled only by the start-up decision, in uninstall mode.
    parts.timers.setInterval(TimerId::UninstallStep, 500);
    parts.timers.setHandler(TimerId::UninstallStep, [this] { Timer1Timer(); });
}

template <typename Step>
void Uninstaller::runStep(Field<StepLight>& light, Step step) {
    light.set(StepLight::Yellow);
    step();
    light.set(StepLight::Green);
}

void Uninstaller::Timer1Timer() {
    switch (++m_model.stepCounter) {
        case kSettingsTick:
            runStep(m_model.Shape1, [this] { m_steps.removeSettings(); });
            break;
        case kMenuTick:
            runStep(m_model.Shape2, [this] { m_steps.removeMenuGroup(); });
            break;
        case kStartupTick:
            runStep(m_model.Shape3, [this] { m_steps.removeStartupEntry(); });
            break;
        case kProgramFilesTick:
            removeProgramFiles();
            break;
        case kDoneTick:
            m_model.DONEVisible.set(true);
            break;
        default:
            // The timer ticks on until DONE; later ticks do nothing.
            break;
    }
}

void Uninstaller::removeProgramFiles() {
    runStep(m_model.Shape4, [this] { m_steps.removeProgramFiles(); });
    m_log.append("removing icon as last step in uninstall.");
    m_presence.removeTrayIcon();
}

}  // namespace mivo
