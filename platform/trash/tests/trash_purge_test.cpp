#include "support/hand_over.hpp"
#include "support/trash_fixture.hpp"
#include "kavo_testing/unprivileged.hpp"

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

class TrashPurge : public TrashFixture { };

// Run without privileges, so that the permission bits are real: the trashed tree holds a
// read-only folder, a folder without any permissions and a link out of the tree, whose target
// must survive.
TEST_F(TrashPurge, RemovesReadOnlyTreesWithoutFollowingLinks)
{
    tree.file("work/tree/a.txt", "a");
    tree.file("work/tree/read-only/inner.txt", "inner");
    tree.file("work/tree/read-only/deeper/leaf.txt", "leaf");
    tree.file("work/tree/locked/secret.txt", "secret");
    tree.symlink(tree.path("outside/target.txt"), "work/tree/read-only/link");
    tree.file("outside/target.txt", "target");
    tree.folder("data");
    ::chmod(tree.path("work/tree/read-only/deeper").c_str(), 0500);
    ::chmod(tree.path("work/tree/read-only").c_str(), 0555);
    ::chmod(tree.path("work/tree/locked").c_str(), 0);
    tree.open_to_everyone();
    hand_over(tree.path("work"));
    hand_over(tree.path("data"));

    auto outcome = run_unprivileged_text([&]() -> std::string {
        auto trashed = trash_paths({tree.path("work/tree")});
        if (!trashed)
            return "trash: " + trashed.error();
        auto items = listed_here();
        if (items.empty())
            return "list: nothing listed";
        auto purged = purge(items);
        if (!purged)
            return "purge: " + purged.error();
        return "purged " + std::to_string(*purged);
    });
    ASSERT_TRUE(outcome.has_value()) << "the unprivileged child did not run";
    EXPECT_EQ(*outcome, "purged 1");
    EXPECT_TRUE(names_in(trash_files()).empty());
    EXPECT_TRUE(names_in(trash() / "info").empty());
    EXPECT_EQ(read_file(tree.path("outside/target.txt")), "target");
    EXPECT_FALSE(exists_no_follow(tree.path("work/tree")));
}

// A purge that cannot finish leaves the item listed, so it can be tried again.
TEST_F(TrashPurge, KeepsTheItemListedWhenItCannotBeRemoved)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a folder owned by another user, which only root can make";
    tree.file("work/tree/held/file.txt", "held");
    ASSERT_TRUE(trash_paths({tree.path("work/tree")}).has_value());
    // The folder belongs to root, so the unprivileged child can neither list it nor change it.
    auto held = trash_files("tree/held");
    ::chmod(held.c_str(), 0);
    tree.open_to_everyone();
    hand_over(tree.path("data"));
    ::lchown(held.c_str(), 0, 0);

    auto outcome = run_unprivileged_text([&]() -> std::string {
        auto items = listed_here();
        if (items.size() != 1)
            return "list failed";
        auto purged = purge(items);
        return purged ? "purged" : purged.error();
    });
    ::chmod(held.c_str(), 0700);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(*outcome, trash_files("tree").native() + ": held: Operation not permitted (os error 1)");
    EXPECT_EQ(listed_here().size(), 1u);
    EXPECT_EQ(read_file(trash_files("tree/held/file.txt")), "held");
}

class TrashDirectorySizes : public TrashFixture { };

struct SizeLine {
    unsigned long long size = 0;
    long long mtime = 0;
    std::string name;
};

std::vector<SizeLine> size_lines(const std::filesystem::path& trash)
{
    std::vector<SizeLine> lines;
    std::istringstream in(read_file(trash / "directorysizes"));
    for (SizeLine line; in >> line.size >> line.mtime >> line.name;)
        lines.push_back(line);
    return lines;
}

// Trashed folders get a size line keyed by their encoded name and dated by their info file;
// files get none; restore and purge drop the line of their folder only.
TEST_F(TrashDirectorySizes, RecordedForFoldersAndDroppedOnRestoreAndPurge)
{
    tree.file("work/my folder/big.bin", std::string(20000, 'b'));
    tree.file("work/my folder/sub/small.txt", "s");
    tree.file("work/second/x.txt", "x");
    tree.file("work/plain.txt", "p");
    ASSERT_TRUE(trash_paths({tree.path("work/my folder"), tree.path("work/second"), tree.path("work/plain.txt")}).has_value());

    auto lines = size_lines(trash());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].name, "my%20folder");
    EXPECT_EQ(lines[1].name, "second");
    // Disk usage, so at least the bytes of the file and never a count of entries.
    EXPECT_GE(lines[0].size, 20000u);
    struct stat info {};
    ASSERT_EQ(::stat(trash_info("my folder").c_str(), &info), 0);
    EXPECT_EQ(lines[0].mtime, info.st_mtime);

    auto folder = listed_from(tree.path("work/my folder"));
    auto second = listed_from(tree.path("work/second"));
    ASSERT_TRUE(folder && second);
    ASSERT_EQ(restore({*folder}).value_or(0), 1u);
    lines = size_lines(trash());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].name, "second");
    EXPECT_EQ(read_file(tree.path("work/my folder/sub/small.txt")), "s");

    ASSERT_EQ(purge({*second}).value_or(0), 1u);
    EXPECT_TRUE(size_lines(trash()).empty());
    // The cache is replaced through a temporary file, which must not stay behind.
    EXPECT_EQ(names_in(trash()), (std::vector<std::string>{"directorysizes", "files", "info"}));
}

}
