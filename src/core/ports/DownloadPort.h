#pragma once
// Where messages that rules download are written. A message goes to disk as
// it arrives, under a name of its own, and takes its real name only once it
// is whole: a message of any size costs no more memory than one piece of it,
// and a message cut off leaves no file that looks complete.

#include <memory>
#include <string>
#include <string_view>

namespace mivo {

// One message being written. Dropped without being kept, what was written of
// it is removed.
class DownloadFile {
public:
    enum class Kept { Yes, NameTaken, Failed };

    virtual ~DownloadFile() = default;

    // Adds `bytes` as they are. A failure to write (a full disk) is
    // remembered and reported by keep().
    virtual void write(std::string_view bytes) = 0;
    // The message is whole: it takes the name `path`, in the folder it was
    // started in, but never in place of a file (or link) of that name:
    // NameTaken then, and another name may be tried. With `durable` the
    // file and its name are on disk before it returns. Failed when any of
    // it could not be written, synced or named; nothing is left behind then.
    virtual Kept keep(const std::string& path, bool durable) = 0;
};

class DownloadPort {
public:
    virtual ~DownloadPort() = default;

    // Starts the file meant to become `path`, created where `path` lies
    // without following a link planted there, readable by the user alone.
    // Nothing when it cannot be created.
    virtual std::unique_ptr<DownloadFile> startDownload(const std::string& path) = 0;
};

}  // namespace mivo
