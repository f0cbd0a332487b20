#include "support/trash_fixture.hpp"

#include <fcntl.h>

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

const std::filesystem::path k_shm = "/dev/shm";

class TrashOtherDevice : public TrashFixture { };

// How the mount's top folder is prepared before the item is trashed.
enum class TopFolder { Plain, StickyAdminTrash, AdminTrashWithoutSticky, LinkedAdminTrash, UserTrashIsAFile };

struct DeviceCase {
    const char* label;
    TopFolder top;
    const char* expected_root; // relative to the top folder; nullptr when trashing must fail
};

// Removes the trash folders a row made at the top of the shared mount, also when it fails.
struct TopFolderCleanup {
    std::vector<std::filesystem::path> paths;
    ~TopFolderCleanup()
    {
        for (const auto& path : paths) {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    }
};

std::string user_trash_name() { return ".Trash-" + std::to_string(::getuid()); }

// An item on tmpfs goes to that mount's own trash, preferring a sticky administrator .Trash,
// restores from there with a Path relative to the top folder, and is never put into the home
// trash on another device: without a usable trash on its mount it stays where it is.
TEST_F(TrashOtherDevice, UsesTheTrashOfTheItemsMountOrNone)
{
    struct stat shm {}, here {};
    if (::stat(k_shm.c_str(), &shm) != 0 || ::stat(tree.root().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
        GTEST_SKIP() << "/dev/shm is not a second file system here";
    const auto admin = k_shm / ".Trash";
    const auto user_trash = k_shm / user_trash_name();
    if (exists_no_follow(admin) || exists_no_follow(user_trash))
        GTEST_SKIP() << "/dev/shm already holds a trash of someone else's; it is left alone";

    const auto uid = std::to_string(::getuid());
    const DeviceCase cases[] = {
        {"no administrator trash: private per-user trash", TopFolder::Plain, ".Trash-$uid"},
        {"sticky administrator trash", TopFolder::StickyAdminTrash, ".Trash/$uid"},
        {"administrator trash without sticky bit is not trusted", TopFolder::AdminTrashWithoutSticky, ".Trash-$uid"},
        {"linked administrator trash is not trusted", TopFolder::LinkedAdminTrash, ".Trash-$uid"},
        {"no usable trash on the mount", TopFolder::UserTrashIsAFile, nullptr},
    };
    TempTree shm_tree(k_shm);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TopFolderCleanup cleanup {{admin, user_trash}};
        if (c.top == TopFolder::StickyAdminTrash || c.top == TopFolder::AdminTrashWithoutSticky) {
            ASSERT_EQ(::mkdir(admin.c_str(), 0777), 0);
            ::chmod(admin.c_str(), c.top == TopFolder::StickyAdminTrash ? 01777 : 0777);
        }
        if (c.top == TopFolder::LinkedAdminTrash) {
            auto real = shm_tree.folder("sticky");
            ::chmod(real.c_str(), 01777);
            ASSERT_EQ(::symlink(real.c_str(), admin.c_str()), 0);
        }
        if (c.top == TopFolder::UserTrashIsAFile) {
            ASSERT_EQ(::close(::open(user_trash.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600)), 0);
        }
        auto original = shm_tree.file("shared file.txt", c.label);

        auto trashed = trash_paths({original});
        EXPECT_TRUE(names_in(trash_files()).empty()) << "copied into the home trash";
        if (!c.expected_root) {
            ASSERT_FALSE(trashed.has_value());
            EXPECT_EQ(trashed.error(), original.native() + ": no Trash can be used on the file system mounted at /dev/shm ("
                                           + user_trash.native() + ": not a folder)");
            EXPECT_EQ(read_file(original), c.label);
            std::filesystem::remove(original);
            continue;
        }
        ASSERT_TRUE(trashed.has_value()) << trashed.error();
        std::string root_name = c.expected_root;
        root_name.replace(root_name.find("$uid"), 4, uid);
        const auto root = k_shm / root_name;
        EXPECT_EQ(trashed->front(), root / "files/shared file.txt");
        struct stat st {};
        ASSERT_EQ(::lstat(root.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_FALSE(exists_no_follow(original));
        EXPECT_NE(read_file(root / "info/shared file.txt.trashinfo")
                      .find("\nPath=" + shm_tree.root().filename().native() + "/shared%20file.txt\n"),
                  std::string::npos);

        std::optional<TrashedItem> item;
        for (auto& listed : list_trashed().value_or(std::vector<TrashedItem>{})) {
            if (listed.original_path == original)
                item = listed;
        }
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(item->trash_root, root);
        auto restored = restore({*item});
        ASSERT_TRUE(restored.has_value()) << restored.error();
        EXPECT_EQ(read_file(original), c.label);
        std::filesystem::remove(original);
    }
}

}
