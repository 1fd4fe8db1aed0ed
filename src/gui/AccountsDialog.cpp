// TMultiPOP, the accounts dialog.
#include "AccountsDialog.h"

#include "QtUi.h"
#include "WindowSetup.h"

namespace mivo {

TMultiPOP::TMultiPOP(QtUi& ui) : QWidget(nullptr, kDialogWindowFlags) {
    setUpWindow(*this, "MultiPOP", "MultiPOP", outerSize());
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

QSize TMultiPOP::outerSize() {
    return QSize(287, 314);
}

}  // namespace mivo
