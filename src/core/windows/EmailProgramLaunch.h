#pragma once
// What the new-mail window's "Launch Email" starts for the e-mail program
// setting: a program path cut at its ".exe", the arguments after it and the
// folder it lies in; or, without ".exe", the whole setting as the program.

#include <cstddef>
#include <string>
#include <string_view>

namespace mivo {

struct EmailProgramLaunch {
    // The setting with its three trailing blanks fits this, and the
    // argument text the other; longer settings are cut to fit.
    static constexpr std::size_t kProgramTextLimit = 699;
    static constexpr std::size_t kArgumentTextLimit = 199;

    // Whether the setting names a ".exe" (exact case): only then are the
    // arguments split off, the launch logged and its outcome captioned.
    bool splitAtExe = false;
    std::string programPath;
    std::string argumentText;
    std::string workingDirectory;  // empty unless split at ".exe"

    friend bool operator==(const EmailProgramLaunch&, const EmailProgramLaunch&) = default;
};

EmailProgramLaunch emailProgramLaunch(std::string_view emailProgram);

}  // namespace mivo
