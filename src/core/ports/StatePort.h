#pragma once
// Where what the program remembers of the mailboxes outlives it: one small
// text, read once, replaced whole after each check and removed by the
// uninstaller.

#include <optional>
#include <string>
#include <string_view>

#include "ports/SettingsPort.h"

namespace mivo {

class StatePort {
public:
    virtual ~StatePort() = default;

    // The whole text; Absent when nothing was ever written.
    virtual StoredText readState() = 0;
    // Replaces the text so that a crash at any moment leaves either the old
    // or the new one. Returns the reason when it could not.
    virtual std::optional<std::string> writeState(std::string_view text) = 0;
    // Deletes the text, then its own folder when nothing else is left in it.
    virtual void removeState() = 0;
};

}  // namespace mivo
