#pragma once
// Where a window that places itself goes: the offset that centres an extent
// on the screen, halves rounded toward zero.

#include "ports/UiPort.h"

namespace mivo {

struct WindowOrigin {
    int left = 0;
    int top = 0;
};

inline int centredOffset(int screenExtent, int windowExtent) {
    return (screenExtent - windowExtent) / 2;
}

inline WindowOrigin centredOn(ScreenSize screen, int windowWidth, int windowHeight) {
    return {centredOffset(screen.width, windowWidth), centredOffset(screen.height, windowHeight)};
}

}  // namespace mivo
