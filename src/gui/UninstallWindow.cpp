// TINIT, the uninstall window.
#include "UninstallWindow.h"

#include "QtUi.h"
#include "WindowSetup.h"
#include "app/Program.h"
#include "windows/Placement.h"

namespace mivo {

TINIT::TINIT(Program& program, QtUi& ui)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setUpWindow(*this, "INIT", "UNINSTALL for MIVO", outerSize());
    // Creation step: the start-up decision. The window's bottom edge sits on
    // the screen's middle line, like the main window's.
    const ScreenSize screen = ui.screenSize();
    move(centredOffset(screen.width, outerSize().width()),
         screen.height / 2 - outerSize().height());
    // Uninstall mode shows this window from inside the decision.
    ui.attach(WindowId::Uninstall, *this);
    program.startUp();
}

QSize TINIT::outerSize() {
    return QSize(211, 222);
}

}  // namespace mivo
