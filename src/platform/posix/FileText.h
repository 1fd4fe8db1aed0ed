#pragma once
// Whole small text files: read in full with a bound, and replaced atomically
// so that a crash or power loss at any moment leaves the old or the new text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ports/SettingsPort.h"

namespace mivo {

// Who a file must belong to for its text to be taken.
enum class FileOwner {
    Anyone,
    // The user, with nobody else allowed to write to it: a file that may
    // have been put there by someone else is Ignored.
    TheUserAlone,
};

// Absent when the file does not exist; Unreadable (with the reason) when it
// exists but is no regular file, cannot be read whole or is larger than
// `limit` bytes. Never waits for a FIFO or a device to have something.
StoredText readTextFile(const std::string& path, std::size_t limit,
                        FileOwner owner = FileOwner::Anyone);

// The folder `path` names a file in ("." for a bare name).
std::string directoryOf(const std::string& path);

// Makes `directory` and each folder above it that is missing, mode 0700.
// Returns the reason when it could not.
std::optional<std::string> makeDirectories(const std::string& directory);

// Writes `text` to a new file beside `path` (mode 0600), flushes it to disk,
// renames it over `path` and flushes the directory. Missing directories are
// created with mode 0700. Where `path` is a symbolic link, the file it
// names is replaced that way and the link stays. Returns the reason when it
// could not.
std::optional<std::string> replaceTextFile(const std::string& path, std::string_view text);

}  // namespace mivo
