#pragma once
// What every window of the program does alike while it is built: its name,
// caption, size and title-bar buttons, and centring itself on the screen.

#include <QLabel>
#include <QSize>
#include <QString>
#include <QWidget>

#include "ports/UiPort.h"

namespace mivo {

// A dialog's title bar: caption, system menu and close button only.
inline constexpr Qt::WindowFlags kDialogWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

// Sizes are the window's outer size, frame and title bar included, as the
// windows' layouts give them; the client area is what is left inside.
void setUpWindow(QWidget& window, const char* name, const char* caption, QSize outerSize);
QSize clientSizeFor(QSize outerSize);
QSize outerSizeFor(QSize clientSize);

// A control at its layout position in client pixels, named as in the layout
// so that tests find it.
void place(QWidget& control, const QString& name, int left, int top, int width, int height);
// A label sized to its caption.
void placeLabel(QLabel& label, const QString& name, const QString& caption, int left, int top);

// Left = (screen width - window width) / 2, top likewise.
void centreOnScreen(QWidget& window, QSize outerSize, const UiPort& ui);

}  // namespace mivo
