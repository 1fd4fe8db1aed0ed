// TINIT, the uninstall window.
#include "UninstallWindow.h"

#include "WindowSetup.h"
#include "app/Program.h"
#include "windows/Placement.h"

namespace mivo {

TINIT::TINIT(Program& program, const UiPort& ui)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setUpWindow(*this, "INIT", "UNINSTALL for MIVO", outerSize());
    // Creation step: the start-up decision. The window's bottom edge sits on
    // the screen's middle line, like the main window's.
    const ScreenSize screen = ui.screenSize();
    move(centredOffset(screen.width, outerSize().width()),
         screen.height / 2 - outerSize().height());
    program.startUp();
}

QSize TINIT::outerSize() {
    return QSize(211, 222);
}

}  // namespace mivo
