#include "support/trash_fixture.hpp"

namespace {

using namespace kavo_trash;
using namespace kavo_trash::test_support;

class TrashRestore : public TrashFixture { };

// A taken original path fails only that item; the others come back, missing parent folders
// included, and the failed one stays in the trash as it was.
TEST_F(TrashRestore, NeverReplacesWhatAppearedAtTheOriginalPath)
{
    auto taken = tree.file("docs/taken.txt", "old");
    auto free = tree.file("docs/free.txt", "free");
    auto deep = tree.file("gone/sub/deep.txt", "deep");
    ASSERT_TRUE(trash_paths({taken, free, deep}).has_value());
    std::filesystem::remove_all(tree.path("gone"));
    tree.file("docs/taken.txt", "new");

    auto items = listed_here();
    ASSERT_EQ(items.size(), 3u);
    auto restored = restore(items);
    ASSERT_FALSE(restored.has_value());
    EXPECT_EQ(restored.error(), taken.native() + ": another item already has this name");

    EXPECT_EQ(read_file(taken), "new");
    EXPECT_EQ(read_file(free), "free");
    EXPECT_EQ(read_file(deep), "deep");
    auto left = listed_here();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].original_path, taken);
    EXPECT_EQ(read_file(left[0].files_path), "old");
}

// Restore and purge act only on what is still the listed item of a trash: a stale or made-up
// item is refused with its path, and nothing outside a trash is ever moved or deleted.
TEST_F(TrashRestore, RestoreAndPurgeActOnlyOnListedItems)
{
    auto original = tree.file("docs/a.txt", "a");
    ASSERT_TRUE(trash_paths({original}).has_value());
    auto item = listed_from(original);
    ASSERT_TRUE(item.has_value());
    auto victim = tree.file("victim/keep.txt", "keep");

    auto outside = *item;
    outside.files_path = victim;
    auto not_a_trash = *item;
    not_a_trash.trash_root = tree.path("victim");
    not_a_trash.files_path = tree.path("victim/files/keep.txt");
    auto other_origin = *item;
    other_origin.original_path = tree.path("docs/b.txt");
    struct Case {
        const char* label;
        TrashedItem item;
        const char* reason;
    };
    const Case cases[] = {
        {"files path outside the trash", outside, "not an item of a Trash"},
        {"root that is no trash", not_a_trash, "not an item of a Trash"},
        {"info records another origin", other_origin, "no longer in the Trash"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        for (auto outcome : {restore({c.item}), purge({c.item})}) {
            ASSERT_FALSE(outcome.has_value());
            EXPECT_NE(outcome.error().find(c.reason), std::string::npos) << outcome.error();
        }
        EXPECT_EQ(read_file(victim), "keep");
        EXPECT_EQ(read_file(item->files_path), "a");
    }

    ASSERT_EQ(restore({*item}).value_or(0), 1u);
    auto again = purge({*item});
    ASSERT_FALSE(again.has_value());
    EXPECT_EQ(again.error(), item->files_path.native() + ": it is no longer in the Trash");
    EXPECT_EQ(read_file(original), "a");
}

}
