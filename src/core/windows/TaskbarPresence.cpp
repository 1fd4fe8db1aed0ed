#include "windows/TaskbarPresence.h"

namespace mivo {

TaskbarPresence::TaskbarPresence(MainWindowModel& model, UiPort& ui, TimerPort& timers, Log& log)
    : m_model(model), m_ui(ui), m_timers(timers), m_log(log) {}

void TaskbarPresence::setUpTrayIcon() {
    m_ui.setTrayIconHandler([this](int identifier) { trayIconPressed(identifier); });
}

void TaskbarPresence::applyPresence() {
    if (m_model.taskbarButton != m_appliedTaskbarButton) {
        if (m_model.taskbarButton) {
            m_ui.showTaskbarButton();
        } else {
            m_ui.removeTaskbarButton();
        }
    }
    if (m_model.trayIcon != m_appliedTrayIcon) {
        if (m_model.trayIcon) {
            m_log.append("showing tray icon");
            showTrayIcon();
        } else {
            m_log.append("hideing tray icon");
            removeTrayIcon();
        }
    }
    m_appliedTaskbarButton = m_model.taskbarButton;
    m_appliedTrayIcon = m_model.trayIcon;
    updateTimer3();
}

void TaskbarPresence::showTrayIcon() {
    m_ui.showTrayIcon(kTrayIconId, "Mivo");
}

void TaskbarPresence::removeTrayIcon() {
    m_ui.removeTrayIcon();
}

void TaskbarPresence::trayIconPressed(int identifier) {
    if (identifier != kTrayIconId) {
        return;
    }
    m_ui.restoreApplication();
    m_ui.bringApplicationToFront();
    setButtonRemoved(false);
}

void TaskbarPresence::Timer3Timer() {
    if (m_buttonRemoved || m_model.taskbarButton) {
        return;
    }
    m_log.append("Timer3Timer called");
    m_log.append("Timer3Timer removing app button");
    m_ui.removeTaskbarButton();
    setButtonRemoved(true);
}

void TaskbarPresence::applicationMinimised() {
    setButtonRemoved(false);
    Timer3Timer();
}

void TaskbarPresence::FormHide() {
    if (m_model.taskbarButton) {
        m_ui.showTaskbarButton();
    } else {
        m_ui.removeTaskbarButton();
    }
}

void TaskbarPresence::FormClose() {
    if (m_model.trayIcon) {
        removeTrayIcon();
    }
}

void TaskbarPresence::setButtonRemoved(bool removed) {
    m_buttonRemoved = removed;
    updateTimer3();
}

void TaskbarPresence::updateTimer3() {
    m_timers.setEnabled(TimerId::Timer3, !m_buttonRemoved && !m_model.taskbarButton);
}

}  // namespace mivo
