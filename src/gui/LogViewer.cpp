// TLogViewer, the log viewer.
#include "LogViewer.h"

#include "QtUi.h"
#include "WindowSetup.h"

namespace mivo {

TLogViewer::TLogViewer(QtUi& ui) : QWidget(nullptr, Qt::Window) {
    setUpWindow(*this, "LogViewer", "LogViewer", outerSize());
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

QSize TLogViewer::outerSize() {
    return QSize(249, 228);
}

}  // namespace mivo
