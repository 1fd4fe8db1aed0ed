#pragma once
// The log viewer TLogViewer: a live copy of the Log while it is open.

#include "fields/Field.h"

namespace mivo {

struct LogViewerModel {
    TextField LogCopy{"LogCopy"};
};

}  // namespace mivo
