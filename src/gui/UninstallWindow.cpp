// TINIT, the uninstall window.
#include "UninstallWindow.h"

#include "WindowSetup.h"
#include "app/StartUp.h"

namespace mivo {

TINIT::TINIT(Program& program)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setUpWindow(*this, "INIT", "UNINSTALL for MIVO", outerSize());
    // Creation step: the start-up decision.
    StartUpDecision(program);
}

QSize TINIT::outerSize() {
    return QSize(211, 222);
}

}  // namespace mivo
