#pragma once
// The program's remembered state on Linux: one text file, read whole with a
// bound and replaced atomically (mode 0600). The desktop program keeps it in
// $XDG_STATE_HOME/mivo/; mivo-check where --state says.

#include <string>

#include "ports/StatePort.h"

namespace mivo {

class StateFile : public StatePort {
public:
    explicit StateFile(std::string path) : m_path(std::move(path)) {}

    // $XDG_STATE_HOME/mivo/seen-mail, with ~/.local/state when the variable
    // is unset or not an absolute path.
    static std::string desktopPath();

    const std::string& path() const { return m_path; }

    StoredText readState() override;
    std::optional<std::string> writeState(std::string_view text) override;
    // The file, then its folder when nothing else is left in it.
    void removeState() override;

private:
    std::string m_path;
};

}  // namespace mivo
