#pragma once
// Where the settings outlive the program: the stored settings text (and its
// removal by the uninstaller), the old fixed-order settings file read when
// none is stored, and the path of the running program that a saved text names.

#include <optional>
#include <string>
#include <string_view>

namespace mivo {

// What reading a stored text found. A text that exists but cannot be read is
// not "absent": the program must then neither start from defaults as if new
// nor write over it. An ignored text is one the user may not have put there
// (someone else's file, one that others can change): it is read as absent,
// and the reason is told.
struct StoredText {
    enum class State { Present, Absent, Unreadable, Ignored };
    State state = State::Absent;
    std::string text;    // the whole text when Present
    std::string reason;  // why, when Unreadable or Ignored
};

class SettingsPort {
public:
    virtual ~SettingsPort() = default;

    virtual StoredText readSettings() = 0;
    // Replaces the stored text so that a crash at any moment leaves either
    // the old or the new text. Returns the reason when it could not.
    virtual std::optional<std::string> writeSettings(std::string_view text) = 0;
    // Deletes the stored text, then its own directory when nothing else is
    // left in it; the directories above it stay.
    virtual void removeSettings() = 0;
    // The old settings file, read only, and only when it is the user's own
    // regular file that nobody else can write to; Ignored otherwise.
    virtual StoredText readLegacyFile() = 0;
    // The absolute path of the running program file, if it can be found.
    virtual std::optional<std::string> programPath() = 0;
    // The user's private folder for downloaded messages: where they go
    // until the user chooses another, and when the choice is empty.
    virtual std::string temporaryDirectory() = 0;
};

}  // namespace mivo
