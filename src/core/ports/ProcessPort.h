#pragma once
// Starting other programs: the user's e-mail program, the programs rules run
// on downloaded mail, the web browser. Nothing started is waited for.

#include <optional>
#include <string>
#include <vector>

namespace mivo {

// The results of a start, numbered as the Log has always told them apart.
namespace start_result {
inline constexpr int kStarted = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;
}  // namespace start_result

class ProcessPort {
public:
    virtual ~ProcessPort() = default;

    // Starts arguments[0] (looked up in PATH when it has no slash) with the
    // rest as its arguments, in `workingDirectory` or this program's own.
    // Returns 0 when it started, else the error code of the failure: 2 file
    // not found (also for an empty list), 3 path not found (a folder on the
    // way, or the working directory, missing), 5 access denied, other codes
    // as they come.
    virtual int startProgram(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& workingDirectory) = 0;

    // Whether `name` is a file this user may run: the file it names when it
    // has a slash, else a file of that name in a folder of PATH.
    virtual bool isProgram(const std::string& name) = 0;

    // The command that opens a web address, "%1" standing for the address.
    virtual std::string browserCommand() = 0;
};

}  // namespace mivo
