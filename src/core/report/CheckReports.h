#pragma once
// What a check tells the user: Log lines, the status caption and account
// errors in the accounts dialog, whose list keeps only its newest lines, and
// why each account that could not be checked failed.

#include <cstddef>
#include <string>
#include <string_view>

#include "log/Log.h"
#include "model/AccountsDialogModel.h"
#include "model/CycleState.h"
#include "report/StatusCaption.h"
#include "windows/AccountsDialog.h"

namespace mivo {

class CheckReports {
public:
    // The error list is cut back, oldest lines first, once it grows past this.
    static constexpr std::size_t kErrorsLimit = 15000;

    CheckReports(Log& log, StatusCaption& statusCaption, AccountsDialogModel& accountsDialog,
                 AccountsDialog& accountsDialogBehaviour)
        : m_log(log),
          m_statusCaption(statusCaption),
          m_accountsDialog(accountsDialog),
          m_accountsDialogBehaviour(accountsDialogBehaviour) {}

    void log(std::string_view line) { m_log.append(line); }
    void caption(const std::string& text) { m_statusCaption.set(text); }
    // Adds `line` to the accounts dialog's error list and shows the dialog
    // the way its button does, painting each account's number by its flag.
    void accountError(std::string_view line);

    // Shows `text` as the caption that says why `account` could not be
    // checked. The first one of the account's check is what the end of a
    // cycle without new mail shows again: what went wrong first is the
    // reason, what follows (the answer to the QUIT after a refusal) is not.
    void accountFailure(int account, const std::string& text);
    // A check of the account starts afresh.
    void forgetFailure(int account) { m_failures.at(static_cast<std::size_t>(account)).clear(); }
    // Empty while the account's last check has not failed.
    const std::string& failureOf(int account) const {
        return m_failures.at(static_cast<std::size_t>(account));
    }

private:
    Log& m_log;
    StatusCaption& m_statusCaption;
    AccountsDialogModel& m_accountsDialog;
    AccountsDialog& m_accountsDialogBehaviour;
    CycleState::PerAccount<std::string> m_failures;
};

}  // namespace mivo
