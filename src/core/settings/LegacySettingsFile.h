#pragma once
// The old settings file "mivo24.txt": one value per line in a fixed order,
// read when no settings text is stored and never written. The first save
// after reading it stores everything as a settings text.

#include "settings/SettingsStore.h"

namespace mivo {

// Reads the file through the settings port into the main window's controls,
// then applies the check interval. Without a readable file the help opens
// and every option keeps its design value; a file the port would not trust
// is passed over that way too, with one Log line saying why.
void loadLegacySettings(SettingsParts& parts);

}  // namespace mivo
