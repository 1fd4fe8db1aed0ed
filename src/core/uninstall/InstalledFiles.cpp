#include "uninstall/InstalledFiles.h"

#include "identity/ApplicationId.h"
#include "uninstall/IconSizes.h"

namespace mivo::installed {

namespace {

// Everything before the last "/" of an absolute path; "/" for what lies at
// the root.
std::string parentFolder(std::string_view path) {
    const std::size_t separator = path.rfind('/');
    return std::string(separator == 0 ? path.substr(0, 1) : path.substr(0, separator));
}

}  // namespace

std::pair<std::string, std::string> folderAndName(std::string_view path) {
    return {parentFolder(path), std::string(path.substr(path.rfind('/') + 1))};
}

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
    return parentFolder(programPath);
}

std::vector<std::string> iconFiles() {
    std::vector<std::string> files;
    for (int size : kIconSizes) {
        const std::string side = std::to_string(size);
        files.push_back("share/icons/hicolor/" + side + "x" + side + "/apps/mivo.png");
    }
    return files;
}

std::vector<std::string> desktopFiles() {
    const std::string id(kApplicationId);
    return {"share/applications/" + id + ".desktop", "share/applications/mivo.desktop",
            "share/metainfo/" + id + ".metainfo.xml"};
}

std::optional<std::string> installationPrefix(std::string_view programFolder) {
    const std::size_t separator = programFolder.rfind('/');
    if (separator == std::string_view::npos ||
        programFolder.substr(separator + 1) != kProgramFolderName) {
        return std::nullopt;
    }
    return parentFolder(programFolder);
}

}  // namespace mivo::installed
