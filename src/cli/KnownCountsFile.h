#pragma once
// mivo-check's --state file: the known counts read at the start of a run and
// replaced as a whole after each cycle, so that a crash at any moment leaves
// the last complete state.

#include <optional>
#include <string>

#include "console/KnownCounts.h"

namespace mivo {

class KnownCountsFile {
public:
    explicit KnownCountsFile(std::string path) : m_path(std::move(path)) {}

    // A missing file holds no counts. Returns why the file cannot be used:
    // it exists but cannot be read, is too large, or is not a state text.
    std::optional<std::string> read(KnownCounts& counts) const;

    // Replaces the file (mode 0600). Returns the reason when it could not.
    std::optional<std::string> write(const KnownCounts& counts) const;

private:
    std::string m_path;
};

}  // namespace mivo
