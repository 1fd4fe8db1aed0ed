#pragma once
// The installation's places on Linux: the XDG data and configuration folders
// of the user, and removals with unlink and rmdir, which never follow a
// symbolic link and never take a folder that still holds anything.

#include "ports/InstallationPort.h"

namespace mivo {

class UserInstallation : public InstallationPort {
public:
    std::optional<std::string> dataHome() override;
    std::optional<std::string> configHome() override;
    bool removeFile(const std::string& path) override;
    bool removeEmptyDirectory(const std::string& path) override;
};

}  // namespace mivo
