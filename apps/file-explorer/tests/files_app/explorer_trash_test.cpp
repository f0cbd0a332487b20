#include "files_app/file_explorer_widget.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace files;
using kavo_testing::TempTree;

namespace {

// A window over a folder, with its own data folder (and so its own Trash).
class WindowTrash : public ::testing::Test {
protected:
    WindowTrash()
    {
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        tree.file("a.txt", "a");
        tree.file("b.txt", "b");
        tree.file("c.txt", "c");
        explorer = app::FileExplorerWidget::create(std::nullopt, tree.path());
    }
    ~WindowTrash() override { unsetenv("XDG_DATA_HOME"); }
    std::vector<size_t> indices(std::initializer_list<const char*> names)
    {
        std::vector<size_t> out;
        for (const char* n : names)
            for (size_t i = 0; i < explorer->entries().size(); ++i)
                if (explorer->entries()[i].name == n)
                    out.push_back(i);
        return out;
    }
    void trash(std::initializer_list<const char*> names) { explorer->execute(app::cmd::EntryAction{app::cmd::EntryOp::Trash, indices(names)}); }
    std::string status() { return explorer->status_message().value_or(""); }

    TempTree data;
    TempTree tree;
    std::unique_ptr<app::FileExplorerWidget> explorer;
};

}

TEST_F(WindowTrash, UndoRestoresExactlyWhatWasTrashedOnce)
{
    trash({"a.txt", "b.txt"});
    EXPECT_EQ(status(), "Moved 2 items to Trash");
    EXPECT_FALSE(std::filesystem::exists(tree.path("a.txt")));
    explorer->execute(app::cmd::UndoTrash{});
    EXPECT_EQ(status(), "Restored 2 items");
    EXPECT_TRUE(std::filesystem::exists(tree.path("a.txt")));
    EXPECT_TRUE(std::filesystem::exists(tree.path("b.txt")));
    explorer->execute(app::cmd::UndoTrash{});
    EXPECT_EQ(status(), "Undo is no longer available because Trash changed");
}

TEST_F(WindowTrash, UndoIsRefusedOnceTheTrashChanged)
{
    trash({"a.txt"});
    explorer->navigate(*explorer->trash_folder());
    explorer->execute(app::cmd::EmptyTrash{});
    ASSERT_TRUE(explorer->sheet()) << "emptying asks first";
    explorer->confirm_sheet();
    EXPECT_EQ(status(), "Emptied Trash (1)");
    explorer->execute(app::cmd::UndoTrash{});
    EXPECT_EQ(status(), "Undo is no longer available because Trash changed");
    explorer->execute(app::cmd::EmptyTrash{});
    EXPECT_FALSE(explorer->sheet());
    EXPECT_EQ(status(), "Trash is already empty");
}

TEST_F(WindowTrash, UndoIsUnavailableWhenTheHomeTrashDidNotGetEveryItem)
{
    // Items on another file system go to that mount's own Trash; the home Trash gains nothing,
    // the counts differ, and undo refuses rather than guess.
    std::filesystem::path mount_trash = "/dev/shm/.Trash-" + std::to_string(::getuid());
    bool mount_trash_existed = std::filesystem::exists(mount_trash);
    std::string pattern = "/dev/shm/files-trash-XXXXXX";
    ASSERT_TRUE(::mkdtemp(pattern.data()));
    std::filesystem::path shm(pattern);
    // Names of this run only, so the mount's shared Trash can be cleaned of exactly them.
    std::string tag = shm.filename().string();
    std::ofstream(shm / (tag + "-x.txt")) << "x";
    std::ofstream(shm / (tag + "-y.txt")) << "y";
    explorer->navigate(shm);
    explorer->execute(app::cmd::EntryAction{app::cmd::EntryOp::Trash, {0, 1}});
    if (status() == "Moved 2 items to Trash") {
        EXPECT_FALSE(explorer->trash_undo_available());
        explorer->execute(app::cmd::UndoTrash{});
        EXPECT_EQ(status(), "Undo is no longer available because Trash changed");
    } else {
        EXPECT_TRUE(status().starts_with("Delete failed: ")) << status();
    }
    std::error_code ec;
    std::filesystem::remove_all(shm, ec);
    if (!mount_trash_existed)
        std::filesystem::remove_all(mount_trash, ec);
    for (const char* suffix : {"-x.txt", "-y.txt"}) {
        std::filesystem::remove(mount_trash / "files" / (tag + suffix), ec);
        std::filesystem::remove(mount_trash / "info" / (tag + suffix + ".trashinfo"), ec);
    }
}

TEST_F(WindowTrash, DeletingInsideTheTrashAsksForPermanentDeletion)
{
    trash({"c.txt"});
    explorer->navigate(*explorer->trash_folder());
    ASSERT_EQ(explorer->entries().size(), 1u);
    explorer->execute(app::cmd::EntryAction{app::cmd::EntryOp::Trash, {0}});
    ASSERT_TRUE(explorer->sheet());
    EXPECT_TRUE(explorer->sheet()->confirm);
    EXPECT_EQ(explorer->entries().size(), 1u) << "nothing goes before the confirmation";
    explorer->confirm_sheet();
    EXPECT_EQ(status(), "Permanently deleted 1 item");
    EXPECT_TRUE(explorer->entries().empty());
}
