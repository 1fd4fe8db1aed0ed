#pragma once
// The file-open dialog behind the Browse buttons: the core says what to ask
// and with which name to start, the window system asks the user.

#include <optional>
#include <string>
#include <string_view>

namespace mivo {

struct FileDialog {
    std::string_view title;
    // The name of the one file type offered, and whether it lists only the
    // files the user may run or every file.
    std::string_view filterName;
    bool executablesOnly = false;
};

class FileChooserPort {
public:
    virtual ~FileChooserPort() = default;

    // Runs the dialog starting from `fileName`; returns the name the user
    // chose, or nothing when they cancelled.
    virtual std::optional<std::string> chooseFile(const FileDialog& dialog,
                                                  const std::string& fileName) = 0;
};

}  // namespace mivo
