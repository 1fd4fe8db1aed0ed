#pragma once
// TForm2, the directory chooser. Picks the directory for downloaded messages.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class TForm2 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    TForm2();

    static QSize outerSize();
};

}  // namespace mivo
