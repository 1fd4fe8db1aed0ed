#pragma once
// The places the directory chooser offers in its drive list: the root, the
// user's home and every mounted file system the user may write to.

#include <string>
#include <string_view>
#include <vector>

namespace mivo {

// "/" first, then `home` (when it is not "/"), then the other writable mount
// points of /proc/self/mounts in path order. Kernel interfaces (/proc, /sys,
// /dev and file systems such as cgroup) are never offered, even to a user
// allowed to write there.
std::vector<std::string> writableRoots(const std::string& home);

// The mount points of a mounts table in the format of /proc/self/mounts, in
// its order, with their octal escapes (\040 for a blank) decoded. Lines of
// kernel interface file systems and lines too short to be entries are left
// out.
std::vector<std::string> mountPointsIn(std::string_view mountsTable);

}  // namespace mivo
