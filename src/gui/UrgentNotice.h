#pragma once
// TUrgentNotice, the urgent notice. Raised when a new message matched an urgent rule.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class TUrgentNotice : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TUrgentNotice();

    static QSize outerSize();
};

}  // namespace mivo
