#pragma once
// The user's own folders where an installation of the program put its menu
// entries and start-up entry, and the removal of what it put there. Used only
// by the uninstaller, which must never take more than the program brought.

#include <optional>
#include <string>

namespace mivo {

class InstallationPort {
public:
    virtual ~InstallationPort() = default;

    // The user's data folder ($XDG_DATA_HOME, else ~/.local/share) and
    // configuration folder ($XDG_CONFIG_HOME, else ~/.config); none when the
    // user has no home folder to put them under.
    virtual std::optional<std::string> dataHome() = 0;
    virtual std::optional<std::string> configHome() = 0;

    // Removes the one file named, never a directory and never what a symbolic
    // link points to. The uninstaller goes on whatever happens, so the
    // outcome is only told for the record.
    virtual bool removeFile(const std::string& path) = 0;
    // Removes a directory only when it is empty, so nothing a user put in
    // it is ever lost.
    virtual bool removeEmptyDirectory(const std::string& path) = 0;
};

}  // namespace mivo
