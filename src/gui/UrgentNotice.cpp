// TUrgentNotice, the urgent notice.
#include "UrgentNotice.h"

#include "WindowSetup.h"

namespace mivo {

TUrgentNotice::TUrgentNotice() : QWidget(nullptr, Qt::Window) {
    setUpWindow(*this, "UrgentNotice", "Mivo", outerSize());
}

QSize TUrgentNotice::outerSize() {
    return QSize(561, 380);
}

}  // namespace mivo
