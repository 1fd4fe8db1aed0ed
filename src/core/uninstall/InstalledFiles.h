#pragma once
// What an installation of Mivo puts on the machine, by name: the menu group
// and its entries, the start-up entry and the program's own files. The
// uninstaller removes exactly these names and nothing else.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mivo::installed {

// The menu group, below the user's data folder, and its entries: the
// program, its uninstaller and its help.
inline constexpr std::string_view kMenuGroup = "applications/Mivo";
inline constexpr std::array<std::string_view, 3> kMenuEntries = {
    "mivo.desktop", "mivo uninstaller.desktop", "mivo help.desktop"};

// The entry that starts the program with the desktop, below the user's
// configuration folder. Its folder belongs to the desktop and stays.
inline constexpr std::string_view kAutostartFolder = "autostart";
inline constexpr std::string_view kAutostartEntry = "mivo.desktop";

// The program files in the program's folder: the desktop program and its
// console front end. The help pages travel inside the program file.
inline constexpr std::array<std::string_view, 2> kProgramFiles = {"mivo", "mivo-check"};

// Where the program's folder is a prefix's "bin", the manual pages and the
// icons the installation put below that prefix's "share". Their folders are
// the system's and stay.
inline constexpr std::string_view kProgramFolderName = "bin";
inline constexpr std::array<std::string_view, 2> kManualPages = {"share/man/man1/mivo.1",
                                                                 "share/man/man1/mivo-check.1"};
// The icon of each size in the theme below the prefix.
std::vector<std::string> iconFiles();

// The prefix holding the program's folder `programFolder` when that folder
// is a "bin"; none otherwise.
std::optional<std::string> installationPrefix(std::string_view programFolder);

// An absolute `path` cut at its last "/": the folder holding it ("/" for
// what lies at the root) and its name.
std::pair<std::string, std::string> folderAndName(std::string_view path);

// `folder` and `name` with one "/" between them.
std::string joinPath(std::string_view folder, std::string_view name);

// The folder holding the program file at `programPath`: everything before
// its last "/" ("/" itself for a file at the root). None for a path that is
// not absolute, which names no folder the program could have been put in.
std::optional<std::string> programFolder(std::string_view programPath);

}  // namespace mivo::installed
