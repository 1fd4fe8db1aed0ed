#pragma once
// The new-mail window TForm1 as the check cycle fills it: the list of new
// messages with their account header lines, and its "bring to front" box.

#include "fields/Field.h"

namespace mivo {

struct NewMailWindowModel {
    TextField Memo1;
    CheckField bringAppToFront;
};

}  // namespace mivo
