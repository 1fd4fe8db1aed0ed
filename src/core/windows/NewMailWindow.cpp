#include "windows/NewMailWindow.h"

namespace mivo {

void NewMailWindow::DoneClick() {
    m_ui.hideWindow(WindowId::NewMail);
    m_mainWindow.NewMailOpen = false;
    for (int account = 1; account <= kAccountCount; ++account) {
        m_accountsDialog.Memon[account].set("");
    }
}

}  // namespace mivo
