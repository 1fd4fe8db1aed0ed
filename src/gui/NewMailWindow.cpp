// TForm1, the new-mail window.
#include "NewMailWindow.h"

#include "QtUi.h"
#include "WindowSetup.h"

namespace mivo {

TForm1::TForm1(QtUi& ui) : QWidget(nullptr, kDialogWindowFlags) {
    setUpWindow(*this, "Form1", "You Have New Mail!!", outerSize());
    // Creation step: centre on the screen.
    centreOnScreen(*this, outerSize(), ui);
}

QSize TForm1::outerSize() {
    return QSize(488, 158);
}

}  // namespace mivo
