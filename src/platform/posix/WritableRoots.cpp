#include "posix/WritableRoots.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace mivo {

namespace {

// File systems through which the kernel shows or takes its own state.
constexpr std::array<std::string_view, 21> kKernelFileSystems = {
    "autofs", "binfmt_misc", "bpf",        "cgroup",     "cgroup2",   "configfs", "debugfs",
    "devpts", "devtmpfs",    "efivarfs",   "fusectl",    "hugetlbfs", "mqueue",   "nsfs",
    "proc",   "pstore",      "rpc_pipefs", "securityfs", "selinuxfs", "sysfs",    "tracefs"};

constexpr std::array<std::string_view, 3> kKernelTrees = {"/proc", "/sys", "/dev"};

bool isUnder(std::string_view path, std::string_view tree) {
    return path.substr(0, tree.size()) == tree &&
           (path.size() == tree.size() || path[tree.size()] == '/');
}

bool isKernelInterface(std::string_view mountPoint, std::string_view type) {
    return std::find(kKernelFileSystems.begin(), kKernelFileSystems.end(), type) !=
               kKernelFileSystems.end() ||
           std::any_of(kKernelTrees.begin(), kKernelTrees.end(),
                       [mountPoint](std::string_view tree) { return isUnder(mountPoint, tree); });
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// The kernel writes a blank, tab, line feed and backslash in a path as a
// backslash and three octal digits.
std::string decodeField(std::string_view field) {
    std::string decoded;
    decoded.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctalDigit(field[i + 1]) &&
            isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            decoded += static_cast<char>(value);
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        fields.push_back(line.substr(start, end - start));
        at = end;
    }
    return fields;
}

}  // namespace

std::vector<std::string> mountPointsIn(std::string_view mountsTable) {
    std::vector<std::string> mountPoints;
    std::size_t at = 0;
    while (at < mountsTable.size()) {
        const std::size_t end = std::min(mountsTable.find('\n', at), mountsTable.size());
        const std::vector<std::string_view> fields = fieldsOf(mountsTable.substr(at, end - at));
        at = end + 1;
        if (fields.size() < 3) {
            continue;
        }
        std::string mountPoint = decodeField(fields[1]);
        if (!mountPoint.empty() && mountPoint.front() == '/' &&
            !isKernelInterface(mountPoint, fields[2])) {
            mountPoints.push_back(std::move(mountPoint));
        }
    }
    return mountPoints;
}

std::vector<std::string> writableRoots(const std::string& home) {
    std::ifstream file("/proc/self/mounts");
    const std::string table{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> others;
    for (std::string& mountPoint : mountPointsIn(table)) {
        if (mountPoint != "/" && mountPoint != home && ::access(mountPoint.c_str(), W_OK) == 0) {
            others.push_back(std::move(mountPoint));
        }
    }
    std::sort(others.begin(), others.end());
    others.erase(std::unique(others.begin(), others.end()), others.end());

    std::vector<std::string> roots{"/"};
    if (!home.empty() && home != "/") {
        roots.push_back(home);
    }
    roots.insert(roots.end(), others.begin(), others.end());
    return roots;
}

}  // namespace mivo
