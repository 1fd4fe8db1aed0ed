#pragma once
// The behaviour of the accounts dialog TMultiPOP. It edits a copy of the 24
// account fields of the main window: taken in when shown, given back when
// hidden; row 1 and the main window's account 1 always show one account.
// The user's editing of a row forgives that account its last error.

#include <string>

#include "model/AccountsDialogModel.h"
#include "model/CycleState.h"
#include "model/MainWindowModel.h"
#include "ports/UiPort.h"

namespace mivo {

class AccountsDialog {
public:
    AccountsDialog(AccountsDialogModel& model, MainWindowModel& mainWindow, CycleState& cycle,
                   UiPort& ui);
    AccountsDialog(const AccountsDialog&) = delete;
    AccountsDialog& operator=(const AccountsDialog&) = delete;

    // Every way into the dialog: the main window's button and an account
    // error. Fits the window to the error box, paints the account numbers,
    // takes the accounts in from the main window and shows the dialog.
    void Show();
    // Runs whenever the window is hidden, whatever hid it.
    void FormHide();
    // "Close": hides the dialog and empties the error box.
    void Button1Click();
    // A click on the dialog's background.
    void FormClick() { RecolourAccountNumbers(); }

    void RecolourAccountNumbers() { m_model.paintAccountNumbers(m_cycle); }
    // The user changed a field of the account's row: its error, its
    // server's greeting and a refused login are forgotten.
    void AccountEdited(int account);

private:
    void mirrorAccountOne(TextField& row, TextField& mainWindow);
    // Sets a row's field from the main window without counting as an edit.
    void fill(TextField& field, const std::string& text);
    void fitToErrorBox();
    void copyFromMainWindow();
    void copyToMainWindow();

    AccountsDialogModel& m_model;
    MainWindowModel& m_window;
    CycleState& m_cycle;
    UiPort& m_ui;
    bool m_filling = false;
};

}  // namespace mivo
