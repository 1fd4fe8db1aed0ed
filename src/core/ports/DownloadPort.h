#pragma once
// Where messages that rules download are written. A message goes to disk
// line by line as it arrives, under a name of its own, and takes its real
// name only once it is whole: a message of any size costs no more memory
// than one line, and a message cut off leaves no file that looks complete.

#include <memory>
#include <string>
#include <string_view>

namespace mivo {

// One message being written. Dropped without keep(), what was written of it
// is removed.
class DownloadFile {
public:
    virtual ~DownloadFile() = default;

    // Adds `line` and a text line end. A failure to write (a full disk) is
    // remembered and reported by keep().
    virtual void writeLine(std::string_view line) = 0;
    // The message is whole: it takes the name it was started for, replacing
    // a file of that name. False when any of it could not be written or
    // named; nothing is left behind then.
    virtual bool keep() = 0;
};

class DownloadPort {
public:
    virtual ~DownloadPort() = default;

    // Starts the file that becomes `path` when kept, created where `path`
    // lies without following a link planted there, readable by the user
    // alone. Nothing when it cannot be created.
    virtual std::unique_ptr<DownloadFile> startDownload(const std::string& path) = 0;
};

}  // namespace mivo
