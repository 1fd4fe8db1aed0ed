#pragma once
// The user's own folders where an installation of the program put its menu
// entries and start-up entry, and the removal of what it put there. Used only
// by the uninstaller, which must never take more than the program brought.

#include <optional>
#include <string>
#include <string_view>

namespace mivo {

class InstallationPort {
public:
    virtual ~InstallationPort() = default;

    // The user's data folder ($XDG_DATA_HOME, else ~/.local/share) and
    // configuration folder ($XDG_CONFIG_HOME, else ~/.config); none when the
    // user has no home folder to put them under.
    virtual std::optional<std::string> dataHome() = 0;
    virtual std::optional<std::string> configHome() = 0;

    // Removes the regular file at `below`, a relative path inside `folder`,
    // never a directory, a symbolic link or what a link points to. `folder`
    // is taken as it is; the folders of `below` are entered only where they
    // are real folders, never through a symbolic link, so that a linked
    // folder and whatever it leads to stay as they are. The uninstaller goes
    // on whatever happens, so the outcome is only told for the record.
    virtual bool removeFile(const std::string& folder, std::string_view below) = 0;
    // Removes the directory at `below` inside `folder`, reached the same way,
    // only when it is empty, so nothing a user put in it is ever lost.
    virtual bool removeEmptyDirectory(const std::string& folder, std::string_view below) = 0;
};

}  // namespace mivo
