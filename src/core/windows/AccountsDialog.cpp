#include "windows/AccountsDialog.h"

namespace mivo {

AccountsDialog::AccountsDialog(AccountsDialogModel& model, MainWindowModel& mainWindow,
                               CycleState& cycle, UiPort& ui)
    : m_model(model), m_mainWindow(mainWindow), m_cycle(cycle), m_ui(ui) {
    for (int account = 1; account <= kAccountCount; ++account) {
        for (TextField* field :
             {&m_model.USERn[account], &m_model.PASSn[account], &m_model.POPn[account]}) {
            field->onChange([this, account] { AccountEdited(account); });
        }
    }
}

void AccountsDialog::Show() {
    // An error can arrive while the user is typing in the open dialog: it
    // still grows the window and paints its number, but taking the accounts
    // in again would throw the user's edits away.
    const bool appearing = !m_ui.isWindowVisible(WindowId::Accounts);
    fitToErrorBox();
    RecolourAccountNumbers();
    if (appearing) {
        copyFromMainWindow();
    }
    m_ui.showWindow(WindowId::Accounts);
}

void AccountsDialog::FormHide() {
    copyToMainWindow();
}

void AccountsDialog::Button1Click() {
    m_ui.hideWindow(WindowId::Accounts);
    copyToMainWindow();
    m_model.Errors.set("");
}

void AccountsDialog::AccountEdited(int account) {
    m_cycle.accountError[account] = false;
    m_cycle.CCW[account] = false;
    m_model.numberRed[account].set(false);
}

void AccountsDialog::fitToErrorBox() {
    const bool errors = !m_model.Errors.get().empty();
    m_model.Height.set(errors ? AccountsDialogModel::kHeightWithErrors
                              : AccountsDialogModel::kHeightWithoutErrors);
    m_model.errorBoxVisible.set(errors);
}

void AccountsDialog::copyFromMainWindow() {
    for (int account = 1; account <= kAccountCount; ++account) {
        m_model.USERn[account].set(m_mainWindow.accountUser(account).get());
        m_model.PASSn[account].set(m_mainWindow.accountPass(account).get());
        m_model.POPn[account].set(m_mainWindow.accountPop(account).get());
    }
}

void AccountsDialog::copyToMainWindow() {
    for (int account = 1; account <= kAccountCount; ++account) {
        m_mainWindow.accountUser(account).set(m_model.USERn[account].get());
        m_mainWindow.accountPass(account).set(m_model.PASSn[account].get());
        m_mainWindow.accountPop(account).set(m_model.POPn[account].get());
    }
}

}  // namespace mivo
