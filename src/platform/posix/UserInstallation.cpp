#include "posix/UserInstallation.h"

#include <unistd.h>

#include "posix/UserFolders.h"

namespace mivo {

std::optional<std::string> UserInstallation::dataHome() {
    return mivo::dataHome();
}

std::optional<std::string> UserInstallation::configHome() {
    return mivo::configHome();
}

bool UserInstallation::removeFile(const std::string& path) {
    // unlink takes a link itself, never its target, and refuses a folder.
    return ::unlink(path.c_str()) == 0;
}

bool UserInstallation::removeEmptyDirectory(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

}  // namespace mivo
