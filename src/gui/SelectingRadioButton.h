#pragma once
// A radio button whose pair the program's model keeps exclusive: a click
// only ever selects it, and code may clear both buttons of a pair, which
// Qt's own exclusive groups refuse.

#include <QRadioButton>

namespace mivo {

class SelectingRadioButton : public QRadioButton {
public:
    explicit SelectingRadioButton(QWidget* parent = nullptr) : QRadioButton(parent) {
        setAutoExclusive(false);
    }

protected:
    void nextCheckState() override { setChecked(true); }
};

}  // namespace mivo
