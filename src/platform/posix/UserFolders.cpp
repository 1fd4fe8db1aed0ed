#include "posix/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace mivo {

namespace {

// The base directory rules ignore a relative path in these variables: it
// would point somewhere different from every working directory.
std::optional<std::string> absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> variableOrBelowHome(const char* name, const char* belowHome) {
    if (std::optional<std::string> value = absoluteVariable(name)) {
        return value;
    }
    std::optional<std::string> home = homeFolder();
    if (!home) {
        return std::nullopt;
    }
    return *home + belowHome;
}

}  // namespace

std::optional<std::string> homeFolder() {
    if (std::optional<std::string> home = absoluteVariable("HOME")) {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid());
        user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/') {
        return std::string(user->pw_dir);
    }
    return std::nullopt;
}

std::optional<std::string> configHome() {
    return variableOrBelowHome("XDG_CONFIG_HOME", "/.config");
}

std::optional<std::string> dataHome() {
    return variableOrBelowHome("XDG_DATA_HOME", "/.local/share");
}

std::optional<std::string> stateHome() {
    return variableOrBelowHome("XDG_STATE_HOME", "/.local/state");
}

std::string downloadFolder() {
    return variableOrBelowHome("XDG_CACHE_HOME", "/.cache").value_or("/.cache") + "/mivo";
}

}  // namespace mivo
