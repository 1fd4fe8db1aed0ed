#pragma once
// The new-mail window TForm1: the list of new messages with their account
// header lines, its "bring to front" box, the Launch button's state and
// which picture of the animation is on display.

#include "fields/Field.h"

namespace mivo {

struct NewMailWindowModel {
    // Image1..Image38, shown one at a time in numeric order.
    static constexpr int kImageCount = 38;

    TextField Memo1;
    CheckField bringAppToFront{true};  // never shown: a copy of CheckBox1
    TextField LaunchCaption{"Launch Email"};
    // Corrected by the first show: at creation no settings are loaded yet.
    Field<bool> LaunchEnabled{false};
    // The number k of the one Imagek on display; 0 while none is.
    Field<int> shownImage{0};
    // The animation's place in its round: 0 when it (re)starts.
    int frameCounter = 0;
};

}  // namespace mivo
