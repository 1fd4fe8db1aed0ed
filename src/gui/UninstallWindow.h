#pragma once
// TINIT, the uninstall window. Carries the start-up decision; shown only when uninstalling.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class Program;
class QtUi;

class TINIT : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TINIT(Program& program, QtUi& ui);

    static QSize outerSize();
};

}  // namespace mivo
