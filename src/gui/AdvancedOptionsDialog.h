#pragma once
// TAdvancedOptions, the advanced options dialog. Edits the rules, programs and display options.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class QtUi;

class TAdvancedOptions : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    explicit TAdvancedOptions(QtUi& ui);

    static QSize outerSize();
};

}  // namespace mivo
