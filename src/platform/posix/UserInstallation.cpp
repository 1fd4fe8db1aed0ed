#include "posix/UserInstallation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "posix/Descriptor.h"
#include "posix/UserFolders.h"

namespace mivo {

namespace {

// The folder that holds the last name of `below`, opened from `folder`
// one name at a time; a name that is a symbolic link or no folder stops
// the walk with an invalid descriptor. `name` receives that last name.
Descriptor openHoldingFolder(const std::string& folder, std::string_view below, std::string& name) {
    Descriptor current(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t slash = below.find('/'); slash != std::string_view::npos && current.valid();
         slash = below.find('/')) {
        const std::string step(below.substr(0, slash));
        below.remove_prefix(slash + 1);
        if (!step.empty()) {
            current = Descriptor(::openat(current.get(), step.c_str(),
                                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        }
    }
    name = std::string(below);
    return current;
}

// Whether `name` in the open folder is of the type `type` itself, not a link
// to one.
bool isOfType(const Descriptor& holder, const std::string& name, mode_t type) {
    struct stat status {};
    return ::fstatat(holder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
           (status.st_mode & S_IFMT) == type;
}

bool removeIn(const std::string& folder, std::string_view below, mode_t type, int flags) {
    std::string name;
    const Descriptor holder = openHoldingFolder(folder, below, name);
    if (!holder.valid() || name.empty() || !isOfType(holder, name, type)) {
        return false;
    }
    return ::unlinkat(holder.get(), name.c_str(), flags) == 0;
}

}  // namespace

std::optional<std::string> UserInstallation::dataHome() {
    return mivo::dataHome();
}

std::optional<std::string> UserInstallation::configHome() {
    return mivo::configHome();
}

bool UserInstallation::removeFile(const std::string& folder, std::string_view below) {
    return removeIn(folder, below, S_IFREG, 0);
}

bool UserInstallation::removeEmptyDirectory(const std::string& folder, std::string_view below) {
    // rmdir itself refuses a folder that still holds anything.
    return removeIn(folder, below, S_IFDIR, AT_REMOVEDIR);
}

}  // namespace mivo
