#pragma once
// What a check tells the user: Log lines, the status caption and account
// errors in the accounts dialog, whose list keeps only its newest lines.

#include <cstddef>
#include <string>
#include <string_view>

#include "log/Log.h"
#include "mainwindow/MainWindow.h"
#include "windows/AccountsDialog.h"
#include "windows/AccountsDialogModel.h"

namespace mivo {

class CheckReports {
public:
    // The error list is cut back, oldest lines first, once it grows past this.
    static constexpr std::size_t kErrorsLimit = 15000;

    CheckReports(Log& log, MainWindow& mainWindow, AccountsDialogModel& accountsDialog,
                 AccountsDialog& accountsDialogBehaviour)
        : m_log(log),
          m_mainWindow(mainWindow),
          m_accountsDialog(accountsDialog),
          m_accountsDialogBehaviour(accountsDialogBehaviour) {}

    void log(std::string_view line) { m_log.append(line); }
    void caption(const std::string& text) { m_mainWindow.SetStatusCaption(text); }
    // Adds `line` to the accounts dialog's error list and shows the dialog
    // the way its button does, painting each account's number by its flag.
    void accountError(std::string_view line);

private:
    Log& m_log;
    MainWindow& m_mainWindow;
    AccountsDialogModel& m_accountsDialog;
    AccountsDialog& m_accountsDialogBehaviour;
};

}  // namespace mivo
