#include "KnownCountsFile.h"

#include "posix/FileText.h"

namespace mivo {

namespace {

// Eight accounts take a few hundred bytes; far more than any run writes, and
// small enough that a wrong path to some big file is refused at once.
constexpr std::size_t kLargestStateFile = 1024 * 1024;

}  // namespace

std::optional<std::string> KnownCountsFile::read(KnownCounts& counts) const {
    counts.clear();
    const StoredText file = readTextFile(m_path, kLargestStateFile);
    switch (file.state) {
        case StoredText::State::Absent:
            return std::nullopt;
        case StoredText::State::Unreadable:
            return file.reason;
        case StoredText::State::Present:
            break;
    }
    if (const std::optional<KnownCountsError> error = parseKnownCounts(file.text, counts)) {
        return m_path + ": " + error->message;
    }
    return std::nullopt;
}

std::optional<std::string> KnownCountsFile::write(const KnownCounts& counts) const {
    return replaceTextFile(m_path, formatKnownCounts(counts));
}

}  // namespace mivo
