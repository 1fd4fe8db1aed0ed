#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "posix/WritableRoots.h"

namespace mivo {
namespace {

TEST(MountPoints, DecodesEscapedPathsAndLeavesKernelInterfacesOut) {
    const char* table =
        "/dev/vda / ext4 rw,relatime 0 0\n"
        "proc /proc proc rw,nosuid 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "tmpfs /dev/shm tmpfs rw 0 0\n"
        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
        "/dev/sdb1 /media/ann/USB\\040Stick vfat rw 0 0\n"
        "/dev/sdc1 /mnt/back\\134slash\\011tab ext4 rw 0 0\n"
        "tmpfs /tmp tmpfs rw 0 0\n"
        "tmpfs /devices tmpfs rw 0 0\n"
        "/dev/sdd1 /mnt/odd\\04 ext4 rw 0 0\n"
        "\n"
        "truncated line\n"
        "none relative ext4 rw 0 0";
    EXPECT_EQ(mountPointsIn(table),
              (std::vector<std::string>{"/", "/media/ann/USB Stick", "/mnt/back\\slash\ttab",
                                        "/tmp", "/devices", "/mnt/odd\\04"}));
}

TEST(WritableRoots, TheRootAndHomeFirstThenEachWritableMountOnce) {
    const std::string home = "/home/nobody-at-all";
    const std::vector<std::string> roots = writableRoots(home);
    ASSERT_GE(roots.size(), 2u);
    EXPECT_EQ(roots[0], "/");
    EXPECT_EQ(roots[1], home);
    const std::vector<std::string> others(roots.begin() + 2, roots.end());
    EXPECT_TRUE(std::is_sorted(others.begin(), others.end()));
    EXPECT_EQ(std::adjacent_find(others.begin(), others.end()), others.end());
    for (const std::string& root : others) {
        EXPECT_EQ(::access(root.c_str(), W_OK), 0) << root;
        EXPECT_NE(root, "/");
        EXPECT_NE(root.rfind("/proc", 0), 0u) << root;
    }
    // A user whose home is the root sees it once.
    const std::vector<std::string> rootHome = writableRoots("/");
    EXPECT_EQ(std::count(rootHome.begin(), rootHome.end(), "/"), 1);
}

}  // namespace
}  // namespace mivo
