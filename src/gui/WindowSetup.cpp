#include "WindowSetup.h"

#include "model/MainWindowModel.h"
#include "windows/Placement.h"

namespace mivo {

QSize clientSizeFor(QSize outerSize) {
    return {std::max(1, outerSize.width() - layout::kFrameWidth),
            std::max(1, outerSize.height() - layout::kFrameWidth - layout::kTitleBarHeight)};
}

QSize outerSizeFor(QSize clientSize) {
    return {clientSize.width() + layout::kFrameWidth,
            clientSize.height() + layout::kFrameWidth + layout::kTitleBarHeight};
}

void setUpWindow(QWidget& window, const char* name, const char* caption, QSize outerSize) {
    window.setObjectName(QString::fromLatin1(name));
    window.setWindowTitle(QString::fromLatin1(caption));
    window.resize(clientSizeFor(outerSize));
}

void place(QWidget& control, const QString& name, int left, int top, int width, int height) {
    control.setObjectName(name);
    control.setGeometry(left, top, width, height);
}

void placeLabel(QLabel& label, const QString& name, const QString& caption, int left, int top) {
    label.setObjectName(name);
    label.setText(caption);
    label.adjustSize();
    label.move(left, top);
}

void centreOnScreen(QWidget& window, QSize outerSize, const UiPort& ui) {
    const WindowOrigin origin = centredOn(ui.screenSize(), outerSize.width(), outerSize.height());
    window.move(origin.left, origin.top);
}

}  // namespace mivo
