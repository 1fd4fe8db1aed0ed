#pragma once
// Downloaded messages on Linux. Each is written to a new file beside its
// final name (mkostemp: O_EXCL, mode 0600, so a link planted in a shared
// directory is never followed), through a fixed buffer, and moved to its
// final name once whole without replacing anything there (renameat2 with
// RENAME_NOREPLACE, or link and unlink where the file system lacks it).

#include <string>

#include "ports/DownloadPort.h"
#include "posix/UserFolders.h"

namespace mivo {

class PosixDownloads : public DownloadPort {
public:
    // What is written goes to disk in pieces of this size.
    static constexpr std::size_t kBufferSize = 64 * 1024;

    // `ownFolder` is made (mode 0700, with the folders above it) when a
    // download starts in it and it is missing.
    explicit PosixDownloads(std::string ownFolder = downloadFolder());

    std::unique_ptr<DownloadFile> startDownload(const std::string& path) override;

private:
    std::string m_ownFolder;
};

}  // namespace mivo
