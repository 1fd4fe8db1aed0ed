#include "cycle/NewMailSummary.h"

#include "text/MemoText.h"
#include "text/TimeText.h"

namespace mivo {

void NewMailSummary::build(const std::string& failure) {
    MainWindowModel& window = m_parts.window;
    m_parts.cycle.Account = 0;
    const std::string time = timeText(m_parts.clock.now());
    window.Memo4.set("");
    for (int account = 1; account <= kAccountCount; ++account) {
        const std::string& list = m_parts.accountsDialog.Memon[account].get();
        if (list.empty()) {
            continue;
        }
        const std::string header = "    " + window.accountUser(account).get() + "@" +
                                   window.accountPop(account).get() + "  " + time;
        window.Memo4.edit([&](std::string& text) {
            memo::addLine(text, header);
            memo::addLine(text, list);
            // The list's closing line break leaves an empty line behind.
            memo::deleteLastLine(text);
        });
    }
    m_parts.reports.log(window.Memo4.get());
    if (window.Memo4.get().empty()) {
        // "No New Mail" after an account that could not be checked would
        // read as all being well.
        m_parts.reports.caption(failure.empty() ? "No New Mail - Mivo" : failure);
        return;
    }
    m_parts.reports.caption("New Mail - Mivo");
    if (window.CheckBox1.get()) {
        m_parts.ui.bringApplicationToFront();
    }
    showNewMailWindow();
}

void NewMailSummary::showNewMailWindow() {
    MainWindowModel& window = m_parts.window;
    UiPort& ui = m_parts.ui;
    NewMailWindowModel& newMailWindow = m_parts.newMailWindow;
    if (window.NewMailOpen) {
        // A window already on screen only grows; the urgent notice then waits.
        if (ui.isWindowMinimised(WindowId::NewMail) || !ui.isWindowVisible(WindowId::NewMail)) {
            showWindows();
        }
        const std::string& summary = window.Memo4.get();
        newMailWindow.Memo1.edit([&](std::string& text) {
            memo::addLine(text, summary);
            memo::deleteLastLine(text);
        });
        return;
    }
    window.NewMailOpen = true;
    newMailWindow.Memo1.set(window.Memo4.get());
    newMailWindow.bringAppToFront.set(window.CheckBox1.get());
    showWindows();
}

void NewMailSummary::showWindows() {
    m_parts.newMailWindowBehaviour.Show();
    if (m_parts.cycle.urgent) {
        m_parts.urgentNotice.Show();
        m_parts.cycle.urgent = false;
    }
}

}  // namespace mivo
