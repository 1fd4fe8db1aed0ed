#pragma once
// TMultiPOP, the accounts dialog. Edits the eight accounts and lists their errors.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class QtUi;

class TMultiPOP : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    explicit TMultiPOP(QtUi& ui);

    static QSize outerSize();
};

}  // namespace mivo
