#pragma once
// The installation's places on Linux: the XDG data and configuration folders
// of the user, and removals of regular files and empty folders reached
// through real folders only, never through a symbolic link.

#include "ports/InstallationPort.h"

namespace mivo {

class UserInstallation : public InstallationPort {
public:
    std::optional<std::string> dataHome() override;
    std::optional<std::string> configHome() override;
    bool removeFile(const std::string& folder, std::string_view below) override;
    bool removeEmptyDirectory(const std::string& folder, std::string_view below) override;
};

}  // namespace mivo
