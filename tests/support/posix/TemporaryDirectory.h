#pragma once
// A private directory under the system's temporary directory for the files a
// test hands to a program or reads back, removed with all it holds.

#include <filesystem>
#include <string>

namespace mivo::test {

class TemporaryDirectory {
public:
    // Throws std::runtime_error when it cannot be created.
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// The whole file; throws when it cannot be read.
std::string readWholeFile(const std::filesystem::path& file);
// Creates or replaces the file with exactly `text`.
void writeWholeFile(const std::filesystem::path& file, const std::string& text);

}  // namespace mivo::test
