#include "cycle/NewMailSummary.h"

#include "text/MemoText.h"
#include "text/TimeText.h"

namespace mivo {

void NewMailSummary::build() {
    announce();
    for (const auto& observer : m_builtObservers) {
        observer();
    }
}

void NewMailSummary::announce() {
    MainWindowModel& window = m_context.window;
    m_context.cycle.Account = 0;
    const std::string time = timeText(m_clock.now());
    window.Memo4.set("");
    for (int account = 1; account <= kAccountCount; ++account) {
        const std::string& list = m_context.accountsDialog.Memon[account].get();
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
    m_context.log.append(window.Memo4.get());
    if (window.Memo4.get().empty()) {
        m_context.setCaption("No New Mail - Mivo");
        return;
    }
    m_context.setCaption("New Mail - Mivo");
    if (window.CheckBox1.get()) {
        m_context.ui.bringApplicationToFront();
    }
    showNewMailWindow();
}

void NewMailSummary::showNewMailWindow() {
    MainWindowModel& window = m_context.window;
    CycleState& cycle = m_context.cycle;
    UiPort& ui = m_context.ui;
    if (window.NewMailOpen) {
        // A window already on screen only grows; the urgent notice then waits.
        if (ui.isWindowMinimised(WindowId::NewMail) || !ui.isWindowVisible(WindowId::NewMail)) {
            ui.showWindow(WindowId::NewMail);
            if (cycle.urgent) {
                ui.showWindow(WindowId::UrgentNotice);
                cycle.urgent = false;
            }
        }
        const std::string& summary = window.Memo4.get();
        m_newMailWindow.Memo1.edit([&](std::string& text) {
            memo::addLine(text, summary);
            memo::deleteLastLine(text);
        });
        return;
    }
    window.NewMailOpen = true;
    m_newMailWindow.Memo1.set(window.Memo4.get());
    m_newMailWindow.bringAppToFront.set(window.CheckBox1.get());
    ui.showWindow(WindowId::NewMail);
    if (cycle.urgent) {
        ui.showWindow(WindowId::UrgentNotice);
        cycle.urgent = false;
    }
}

}  // namespace mivo
