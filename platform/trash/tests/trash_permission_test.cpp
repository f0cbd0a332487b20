#include "support/hand_over.hpp"
#include "support/trash_fixture.hpp"
#include "kavo_testing/unprivileged.hpp"

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

class TrashPermissions : public TrashFixture { };

// An unprivileged user cannot take an item out of a folder they may not write: that item
// fails with the system's reason, keeps its place and leaves no info file behind, while the
// item before it in the same request stays trashed and the error says so.
TEST_F(TrashPermissions, ItemInAnUnwritableFolderFailsCleanly)
{
    auto movable = tree.file("mine/movable.txt", "movable");
    auto locked = tree.file("locked/item.txt", "locked");
    tree.folder("data");
    tree.open_to_everyone();
    hand_over(tree.path("mine"));
    hand_over(tree.path("data"));
    ::chmod(tree.path("locked").c_str(), 0555);

    auto outcome = run_unprivileged_text([&]() -> std::string {
        auto trashed = trash_paths({movable, locked});
        return trashed ? "trashed" : trashed.error();
    });
    ASSERT_TRUE(outcome.has_value()) << "the unprivileged child did not run";
    EXPECT_EQ(*outcome, locked.native() + ": Permission denied (os error 13) (the item before it is in the Trash)");
    EXPECT_EQ(read_file(locked), "locked");
    EXPECT_EQ(names_in(trash() / "info"), std::vector<std::string>{"movable.txt.trashinfo"});
    EXPECT_EQ(names_in(trash_files()), std::vector<std::string>{"movable.txt"});
    EXPECT_FALSE(exists_no_follow(movable));
}

}
