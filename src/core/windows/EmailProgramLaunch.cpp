#include "windows/EmailProgramLaunch.h"

#include <algorithm>

namespace mivo {

namespace {

constexpr std::string_view kExe = ".exe";
constexpr std::string_view kThreeBlanks = "   ";

// The folder of `path`: up to its last slash or backslash, where one at the
// very start does not count; the whole path when there is none.
std::string folderOf(const std::string& path) {
    for (std::size_t i = path.size(); i-- > 1;) {
        if (path[i] == '\\' || path[i] == '/') {
            return path.substr(0, i);
        }
    }
    return path;
}

}  // namespace

EmailProgramLaunch emailProgramLaunch(std::string_view emailProgram) {
    // The three blanks guarantee a character after ".exe" to drop, so the
    // setting gives way to them when it is too long.
    const std::size_t settingLimit = EmailProgramLaunch::kProgramTextLimit - kThreeBlanks.size();
    std::string text(emailProgram.substr(0, settingLimit));
    text += kThreeBlanks;

    EmailProgramLaunch launch;
    const std::size_t exe = text.find(kExe);
    if (exe == std::string::npos) {
        // A program on this system rarely ends in ".exe"; blanks after its
        // name would become part of the name, so they go.
        const std::size_t end = text.find_last_not_of(' ');
        text.resize(end == std::string::npos ? 0 : end + 1);
        launch.programPath = std::move(text);
        return launch;
    }
    launch.splitAtExe = true;
    launch.programPath = text.substr(0, exe + kExe.size());
    // The character right after ".exe" separates the arguments and is
    // dropped; two blanks lead the rest instead.
    launch.argumentText = "  " + text.substr(exe + kExe.size() + 1);
    launch.argumentText.resize(
        std::min(launch.argumentText.size(), EmailProgramLaunch::kArgumentTextLimit));
    launch.workingDirectory = folderOf(launch.programPath);
    return launch;
}

}  // namespace mivo
