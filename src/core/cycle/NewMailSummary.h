#pragma once
// The end of a check cycle: every account's new-mail list under a header
// line, into the Log, the caption and the new-mail window.

#include <string>

#include "model/AccountsDialogModel.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "model/NewMailWindowModel.h"
#include "ports/ClockPort.h"
#include "ports/UiPort.h"
#include "report/CheckReports.h"
#include "windows/NewMailWindow.h"
#include "windows/UrgentNotice.h"

namespace mivo {

class NewMailSummary {
public:
    struct Parts {
        MainWindowModel& window;
        CycleState& cycle;
        const AccountsDialogModel& accountsDialog;  // each account's list
        NewMailWindowModel& newMailWindow;
        NewMailWindow& newMailWindowBehaviour;
        UrgentNotice& urgentNotice;
        CheckReports& reports;
        UiPort& ui;
        const ClockPort& clock;
    };

    explicit NewMailSummary(Parts parts) : m_parts(parts) {}

    // `failure`: the caption of an account that could not be checked,
    // which stays when no new mail was found; empty when none failed.
    void build(const std::string& failure);

private:
    void showNewMailWindow();
    // The new-mail window comes up, and the urgent notice after it when a
    // rule found an urgent message.
    void showWindows();

    Parts m_parts;
};

}  // namespace mivo
