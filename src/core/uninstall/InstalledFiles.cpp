#include "uninstall/InstalledFiles.h"

namespace mivo::installed {

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

std::optional<std::string> programFolder(std::string_view programPath) {
    if (programPath.empty() || programPath.front() != '/') {
        return std::nullopt;
    }
    // Cut at the last separator, not at a "." of the name: folders such as
    // ~/.local have dots of their own.
    const std::size_t separator = programPath.rfind('/');
    return std::string(separator == 0 ? programPath.substr(0, 1)
                                      : programPath.substr(0, separator));
}

}  // namespace mivo::installed
