#include "files_app/file_explorer_widget.hpp"
#include "kavo_testing/temp_tree.hpp"
#include "kavo_testing/unprivileged.hpp"

#include "kavo_ui/sysdirs.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace files;
using kavo_testing::TempTree;

namespace {

class WindowFileOps : public ::testing::Test {
protected:
    WindowFileOps()
    {
        tree.folder("dest");
        tree.folder("dest/inner");
        tree.file("a.txt", "a");
        tree.file("b.txt", "b");
        explorer = app::FileExplorerWidget::create(std::nullopt, tree.path());
    }
    size_t index(const std::string& name)
    {
        for (size_t i = 0; i < explorer->entries().size(); ++i)
            if (explorer->entries()[i].name == name)
                return i;
        ADD_FAILURE() << "no entry " << name;
        return 0;
    }
    std::string status() { return explorer->status_message().value_or(""); }
    bool exists(const char* rel) { return std::filesystem::exists(tree.path(rel)); }

    TempTree tree;
    std::unique_ptr<app::FileExplorerWidget> explorer;
};

}

TEST_F(WindowFileOps, CopyPastesTwiceIntoNumberedNames)
{
    explorer->execute(app::cmd::EntryAction{app::cmd::EntryOp::Copy, {index("a.txt")}});
    EXPECT_EQ(status(), "Copied 1 item");
    explorer->execute(app::cmd::Paste{});
    explorer->execute(app::cmd::Paste{});
    EXPECT_TRUE(exists("a 2.txt"));
    EXPECT_TRUE(exists("a 3.txt"));
    EXPECT_EQ(status(), "Pasted 1 item");
    EXPECT_EQ(explorer->clipboard().items.size(), 1u) << "a copy stays on the clipboard";
}

TEST_F(WindowFileOps, ACutKeepsOnlyWhatFailedToMove)
{
    explorer->execute(app::cmd::EntryAction{app::cmd::EntryOp::Cut, {index("a.txt"), index("b.txt")}});
    std::filesystem::remove(tree.path("b.txt"));  // b can no longer be moved
    explorer->navigate(tree.path("dest"));
    explorer->execute(app::cmd::Paste{});
    EXPECT_TRUE(exists("dest/a.txt"));
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_EQ(status(), "Pasted 1 (1 failed)");
    ASSERT_EQ(explorer->clipboard().items.size(), 1u);
    EXPECT_EQ(explorer->clipboard().items[0], tree.path("b.txt"));
    EXPECT_TRUE(explorer->clipboard().cut);
}

TEST_F(WindowFileOps, NewFoldersAreNumberedAndOpenTheNameField)
{
    for (int i = 0; i < 3; ++i)
        explorer->execute(app::cmd::NewFolder{""});
    EXPECT_TRUE(exists("New Folder"));
    EXPECT_TRUE(exists("New Folder 2"));
    EXPECT_TRUE(exists("New Folder 3"));
    EXPECT_EQ(status(), "Created folder");
    ASSERT_TRUE(explorer->rename_open());
    EXPECT_EQ(explorer->rename_input().text(), "New Folder 3");

    // Unchanged (or only blanks added): nothing on disk, no message.
    explorer->set_status("before");
    explorer->rename_input().set_text("  New Folder 3  ");
    explorer->commit_rename();
    EXPECT_FALSE(explorer->rename_open());
    EXPECT_EQ(status(), "before");

    explorer->open_rename(index("New Folder 3"));
    explorer->rename_input().set_text("a.txt");
    explorer->commit_rename();
    EXPECT_TRUE(explorer->rename_open()) << "a failed rename keeps the field open";
    EXPECT_EQ(explorer->rename_input().text(), "a.txt");
    EXPECT_EQ(status(), "Rename failed: “a.txt” already exists");

    explorer->rename_input().set_text("Reports");
    explorer->commit_rename();
    EXPECT_FALSE(explorer->rename_open());
    EXPECT_TRUE(exists("Reports"));
    EXPECT_EQ(status(), "Renamed");
}

TEST_F(WindowFileOps, NewFilesComeFromTemplates)
{
    TempTree templates;
    templates.file("Letter.odt", "letter");
    templates.file(".hidden", "x");
    templates.folder("folder");
    templates.symlink(templates.path("Letter.odt"), "link.odt");
    setenv("XDG_TEMPLATES_DIR", templates.path().c_str(), 1);
    auto list = explorer->templates();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].label, "New Letter");
    explorer->execute(app::cmd::NewFromTemplate{list[0].path});
    explorer->close_rename();
    explorer->execute(app::cmd::NewFromTemplate{list[0].path});
    EXPECT_TRUE(exists("Letter.odt"));
    EXPECT_TRUE(exists("Letter 2.odt"));
    EXPECT_EQ(status(), "Created file");
    setenv("XDG_TEMPLATES_DIR", "   ", 1);
    EXPECT_EQ(explorer->templates_folder(), kavo_ui::sysdirs::user_home().value() / "Templates") << "blank means unset";
    unsetenv("XDG_TEMPLATES_DIR");
}

TEST_F(WindowFileOps, DropsSkipWhatIsAlreadyThere)
{
    explorer->show_drag({tree.path("a.txt")}, {0, 0});
    explorer->drop_onto(tree.path());
    EXPECT_EQ(status(), "Nothing to move");
    explorer->show_drag({tree.path("dest")}, {0, 0});
    explorer->drop_onto(tree.path("dest/inner"));
    EXPECT_EQ(status(), "Nothing to move") << "a folder never moves into itself";
    explorer->show_drag({tree.path("a.txt"), tree.path("b.txt")}, {0, 0});
    explorer->drop_onto(tree.path("dest"));
    EXPECT_EQ(status(), "Moved 2 items to “dest”");
    EXPECT_TRUE(exists("dest/b.txt"));
}
