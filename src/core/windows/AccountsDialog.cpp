#include "windows/AccountsDialog.h"

#include <utility>

namespace mivo {

namespace {

// Sets a flag for as long as it lives, and puts back what it was.
class FlagHeld {
public:
    explicit FlagHeld(bool& flag) : m_flag(flag), m_before(std::exchange(flag, true)) {}
    ~FlagHeld() { m_flag = m_before; }
    FlagHeld(const FlagHeld&) = delete;
    FlagHeld& operator=(const FlagHeld&) = delete;

private:
    bool& m_flag;
    bool m_before;
};

}  // namespace

AccountsDialog::AccountsDialog(AccountsDialogModel& model, MainWindowModel& mainWindow,
                               CycleState& cycle, UiPort& ui)
    : m_model(model), m_window(mainWindow), m_cycle(cycle), m_ui(ui) {
    for (int account = 1; account <= kAccountCount; ++account) {
        for (TextField* field :
             {&m_model.USERn[account], &m_model.PASSn[account], &m_model.POPn[account]}) {
            field->onChange([this, account] {
                if (!m_filling) {
                    AccountEdited(account);
                }
            });
        }
    }
    // Row 1 and the main window's account-1 fields are one account, so an
    // edit on either side is never undone by the other's older copy.
    mirrorAccountOne(m_model.USERn[1], m_window.UserName);
    mirrorAccountOne(m_model.PASSn[1], m_window.UserPass);
    mirrorAccountOne(m_model.POPn[1], m_window.PopServ);
}

void AccountsDialog::mirrorAccountOne(TextField& row, TextField& mainWindow) {
    // The user's edit in the row is the main window's account-1 edit too.
    row.onChange([&row, &mainWindow] { mainWindow.set(row.get()); });
    mainWindow.onChange([this, &row, &mainWindow] { fill(row, mainWindow.get()); });
}

void AccountsDialog::fill(TextField& field, const std::string& text) {
    // Showing the accounts is no edit: only the user's typing forgives an
    // account its error and its server's greeting.
    const FlagHeld filling(m_filling);
    field.set(text);
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
    m_cycle.loginRefused[account] = false;
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
        fill(m_model.USERn[account], m_window.accountUser(account).get());
        fill(m_model.PASSn[account], m_window.accountPass(account).get());
        fill(m_model.POPn[account], m_window.accountPop(account).get());
    }
}

void AccountsDialog::copyToMainWindow() {
    for (int account = 1; account <= kAccountCount; ++account) {
        m_window.accountUser(account).set(m_model.USERn[account].get());
        m_window.accountPass(account).set(m_model.PASSn[account].get());
        m_window.accountPop(account).set(m_model.POPn[account].get());
    }
}

}  // namespace mivo
