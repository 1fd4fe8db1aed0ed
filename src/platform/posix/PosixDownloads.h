#pragma once
// Downloaded messages on Linux. Each is written to a new file beside its
// final name (mkostemp: O_EXCL, mode 0600, so a link planted in a shared
// directory is never followed), through a fixed buffer, and renamed over the
// final name once whole; rename replaces a link planted there instead of
// writing through it.

#include "ports/DownloadPort.h"

namespace mivo {

class PosixDownloads : public DownloadPort {
public:
    // What is written goes to disk in pieces of this size.
    static constexpr std::size_t kBufferSize = 64 * 1024;

    std::unique_ptr<DownloadFile> startDownload(const std::string& path) override;
};

}  // namespace mivo
