// TAdvancedOptions, the advanced options dialog.
#include "AdvancedOptionsDialog.h"

#include "QtUi.h"
#include "WindowSetup.h"
#include "mainwindow/MainWindowModel.h"

namespace mivo {

TAdvancedOptions::TAdvancedOptions(QtUi& ui) : QWidget(nullptr, kDialogWindowFlags) {
    setUpWindow(*this, "AdvancedOptions", "Advanced Options", outerSize());
    setFixedSize(clientSizeFor(outerSize()));
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

QSize TAdvancedOptions::outerSize() {
    return QSize(474 + layout::kFrameWidth, 246 + layout::kFrameWidth + layout::kTitleBarHeight);
}

}  // namespace mivo
