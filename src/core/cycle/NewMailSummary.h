#pragma once
// The end of a check cycle: every account's new-mail list under a header
// line, into the Log, the caption and the new-mail window.

#include <functional>
#include <vector>

#include "cycle/CheckContext.h"
#include "ports/ClockPort.h"
#include "windows/NewMailWindowModel.h"

namespace mivo {

class NewMailSummary {
public:
    NewMailSummary(CheckContext& context, NewMailWindowModel& newMailWindow, const ClockPort& clock)
        : m_context(context), m_newMailWindow(newMailWindow), m_clock(clock) {}

    void build();

    // Observers of the end of every cycle, run after the summary is shown.
    void onBuilt(std::function<void()> observer) {
        m_builtObservers.push_back(std::move(observer));
    }

private:
    void announce();
    void showNewMailWindow();

    CheckContext& m_context;
    NewMailWindowModel& m_newMailWindow;
    const ClockPort& m_clock;
    std::vector<std::function<void()>> m_builtObservers;
};

}  // namespace mivo
