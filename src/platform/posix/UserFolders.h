#pragma once
// The user's folders as the desktop names them: the home folder, and the
// data, configuration and state folders of the XDG base directory rules.

#include <optional>
#include <string>

namespace mivo {

// $HOME when it is an absolute path, else the home folder of the user's
// account; none when neither is known.
std::optional<std::string> homeFolder();
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::optional<std::string> configHome();
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::optional<std::string> dataHome();
// $XDG_STATE_HOME when it is an absolute path, else ~/.local/state.
std::optional<std::string> stateHome();
// The user's own folder for downloaded messages, which no one else can
// write to: "mivo" in $XDG_CACHE_HOME when that is an absolute path, else in
// ~/.cache (below the root when there is no home folder, where a user
// cannot make it).
std::string downloadFolder();

}  // namespace mivo
