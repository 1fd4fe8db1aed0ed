// TINIT, the uninstall window.
#include "UninstallWindow.h"

#include "WindowSetup.h"
#include "app/Program.h"

namespace mivo {

TINIT::TINIT(Program& program)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setUpWindow(*this, "INIT", "UNINSTALL for MIVO", outerSize());
    // Creation step: the start-up decision. The settings load and the
    // uninstall mode will join it here.
    program.bringIntoService();
}

QSize TINIT::outerSize() {
    return QSize(211, 222);
}

}  // namespace mivo
