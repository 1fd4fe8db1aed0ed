#pragma once
// TForm1, the new-mail window. Announces new mail with a list of senders and subjects.
// Built hidden at start-up and kept until the program ends; its controls
// arrive with the window's own behaviour.

#include <QSize>
#include <QWidget>

namespace mivo {

class QtUi;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and runs its creation step.
    explicit TForm1(QtUi& ui);

    static QSize outerSize();
};

}  // namespace mivo
