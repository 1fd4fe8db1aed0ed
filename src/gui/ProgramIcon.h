#pragma once
// The program's 32 x 32 picture, an envelope with a new-mail dot: shown on
// the main window, used as the window icon and as the tray icon.

#include <QIcon>
#include <QImage>

namespace mivo {

// Drawn pixel by pixel, so it is the same crisp picture everywhere.
QImage programIconImage();
QIcon programIcon();

}  // namespace mivo
