#pragma once
// What a check tells the user: Log lines, the status caption and account
// errors in the accounts dialog, whose list keeps only its newest lines.

#include <cstddef>
#include <string>
#include <string_view>

#include "cycle/CycleState.h"
#include "log/Log.h"
#include "mainwindow/MainWindow.h"
#include "ports/UiPort.h"
#include "windows/AccountsDialogModel.h"

namespace mivo {

class CheckReports {
public:
    // The error list is cut back, oldest lines first, once it grows past this.
    static constexpr std::size_t kErrorsLimit = 15000;

    CheckReports(Log& log, MainWindow& mainWindow, AccountsDialogModel& accountsDialog,
                 const CycleState& cycle, UiPort& ui)
        : m_log(log),
          m_mainWindow(mainWindow),
          m_accountsDialog(accountsDialog),
          m_cycle(cycle),
          m_ui(ui) {}

    void log(std::string_view line) { m_log.append(line); }
    void caption(const std::string& text) { m_mainWindow.SetStatusCaption(text); }
    // Adds `line` to the accounts dialog's error list and shows the dialog,
    // which paints each account's number by its error flag.
    void accountError(std::string_view line);

private:
    Log& m_log;
    MainWindow& m_mainWindow;
    AccountsDialogModel& m_accountsDialog;
    const CycleState& m_cycle;
    UiPort& m_ui;
};

}  // namespace mivo
