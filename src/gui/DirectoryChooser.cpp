// TForm2, the directory chooser.
#include "DirectoryChooser.h"

#include "WindowSetup.h"

namespace mivo {

TForm2::TForm2() : QWidget(nullptr, Qt::Window) {
    setUpWindow(*this, "Form2", "Clunky Dir Select", outerSize());
    // No creation step: the window stays at its design position.
    move(278, 162);
}

QSize TForm2::outerSize() {
    return QSize(286, 245);
}

}  // namespace mivo
