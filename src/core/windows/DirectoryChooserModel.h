#pragma once
// The directory chooser TForm2 as the rest of the program sees it: the
// folder it has got to. Its drive and folder lists are the window system's.

#include "fields/Field.h"

namespace mivo {

struct DirectoryChooserModel {
    // The current folder of the folder list, in full; the label under the
    // list may show it shortened.
    TextField Label1{"Label1"};
};

}  // namespace mivo
