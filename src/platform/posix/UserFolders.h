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

}  // namespace mivo
