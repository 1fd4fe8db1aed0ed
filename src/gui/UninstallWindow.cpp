// TINIT, the uninstall window.
#include "UninstallWindow.h"

#include "WindowSetup.h"

namespace mivo {

TINIT::TINIT() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setUpWindow(*this, "INIT", "UNINSTALL for MIVO", outerSize());
    // Creation step: the start-up decision, which loads the settings and
    // chooses between a normal start and the uninstaller, arrives with them.
}

QSize TINIT::outerSize() {
    return QSize(211, 222);
}

}  // namespace mivo
