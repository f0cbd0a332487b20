#include "mount_table.hpp"

#include <gtest/gtest.h>

namespace {

using namespace kavo_trash;

// Lines as the kernel writes them, with optional fields, escaped names and a mount stacked on
// the same point.
constexpr std::string_view k_mountinfo =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "28 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "26 28 0:24 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
    "31 26 0:28 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
    "40 28 8:17 / /media/u/My\\040Disk rw,nosuid shared:7 master:2 - vfat /dev/sdb1 rw\n"
    "41 40 8:18 / /media/u/My\\040Disk/back\\134slash rw - ext4 /dev/sdb2 rw\n"
    "garbage line\n"
    "42 28 0:40 / relative rw - tmpfs tmpfs rw\n";

TEST(TrashMountTable, ParsesEscapedMountPointsAndFindsTheMountOfAPath)
{
    auto mounts = parse_mount_table(k_mountinfo);
    ASSERT_EQ(mounts.size(), 6u);
    EXPECT_EQ(mounts[4].mount_point, "/media/u/My Disk");
    EXPECT_EQ(mounts[4].fs_type, "vfat");
    EXPECT_EQ(mounts[5].mount_point, "/media/u/My Disk/back\\slash");

    struct Case {
        const char* path;
        const char* mount_point;
        const char* fs_type;
    };
    const Case cases[] = {
        {"/home/u/file", "/", "ext4"},
        {"/dev/shm/x", "/dev/shm", "tmpfs"},
        {"/dev/shmem/x", "/", "ext4"},
        {"/media/u/My Disk/photo.jpg", "/media/u/My Disk", "vfat"},
        {"/media/u/My Disk/back\\slash/a", "/media/u/My Disk/back\\slash", "ext4"},
        {"/media/u/My Diskette", "/", "ext4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto mount = mount_of(mounts, c.path);
        ASSERT_TRUE(mount.has_value());
        EXPECT_EQ(mount->mount_point, c.mount_point);
        EXPECT_EQ(mount->fs_type, c.fs_type);
    }
    EXPECT_TRUE(is_pseudo_file_system(mounts[0].fs_type));
    EXPECT_FALSE(is_pseudo_file_system(mounts[2].fs_type));
}

}
