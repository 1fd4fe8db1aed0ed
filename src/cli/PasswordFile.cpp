#include "PasswordFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace mivo {

namespace {

// Longer lines are no password; reading stops there.
constexpr std::size_t kLineLimit = 4096;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// One line, read a character at a time so that standard input gives up no
// more than its first line: the next --password-file - reads the next one.
std::optional<std::string> readLine(std::FILE* file, const std::string& name, std::string& line) {
    line.clear();
    for (int c = std::getc(file); c != EOF && c != '\n'; c = std::getc(file)) {
        if (line.size() == kLineLimit) {
            return "the password in " + name + " is longer than " + std::to_string(kLineLimit) +
                   " bytes";
        }
        line.push_back(static_cast<char>(c));
    }
    if (std::ferror(file) != 0) {
        return "cannot read " + name + ": " + std::strerror(errno);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> readPasswordFile(const std::string& path, std::string& password) {
    if (path == "-") {
        return readLine(stdin, "standard input", password);
    }
    const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rbe"));
    if (!file) {
        return "cannot read the password file " + path + ": " + std::strerror(errno);
    }
    return readLine(file.get(), "the password file " + path, password);
}

}  // namespace mivo
