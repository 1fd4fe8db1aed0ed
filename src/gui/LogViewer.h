#pragma once
// TLogViewer, the log viewer. Shows a live copy of the Log while it is open.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class QtUi;

class TLogViewer : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    explicit TLogViewer(QtUi& ui);

    static QSize outerSize();
};

}  // namespace mivo
