#include "files_app/file_explorer_widget.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

using files::app::FileExplorerWidget;
using kavo_testing::TempTree;

namespace {

class ExplorerNavigation : public ::testing::Test {
protected:
    ExplorerNavigation()
    {
        for (const char* f : {"a", "b", "c", "a/inner"})
            tree.folder(f);
        explorer = FileExplorerWidget::create(std::nullopt, tree.path());
    }
    std::vector<std::filesystem::path> paths(std::initializer_list<const char*> rels)
    {
        std::vector<std::filesystem::path> out;
        for (const char* r : rels)
            out.push_back(*r ? tree.path(r) : tree.path());
        return out;
    }
    TempTree tree;
    std::unique_ptr<FileExplorerWidget> explorer;
};

}

TEST_F(ExplorerNavigation, BackAndForwardRetraceTheRoute)
{
    explorer->navigate(tree.path("a"));
    explorer->navigate(tree.path("b"));
    explorer->navigate(tree.path("c"));
    EXPECT_EQ(explorer->back_history(), paths({"", "a", "b"}));

    explorer->go_back();
    EXPECT_EQ(explorer->current_dir(), tree.path("b"));
    explorer->go_back();
    explorer->go_back();
    EXPECT_EQ(explorer->current_dir(), tree.path());
    explorer->go_back();
    EXPECT_EQ(explorer->current_dir(), tree.path()) << "back with an empty history does nothing";
    EXPECT_EQ(explorer->forward_history(), paths({"c", "b", "a"}));

    explorer->go_forward();
    EXPECT_EQ(explorer->current_dir(), tree.path("a"));
    explorer->navigate(tree.path("a/inner"));
    EXPECT_TRUE(explorer->forward_history().empty()) << "a new navigation clears Forward";
}

TEST_F(ExplorerNavigation, TheFolderAlreadyShownReloadsWithoutHistory)
{
    explorer->navigate(tree.path("a"));
    auto generation = explorer->listing_generation();
    tree.file("a/new.txt");
    explorer->navigate(tree.path("a") / "");
    EXPECT_EQ(explorer->back_history(), paths({""}));
    EXPECT_GT(explorer->listing_generation(), generation);
    EXPECT_EQ(explorer->entries().size(), 2u);
}

TEST_F(ExplorerNavigation, UpGoesToTheParentAndStopsAtTheRoot)
{
    explorer->navigate(tree.path("a/inner"));
    explorer->go_up();
    EXPECT_EQ(explorer->current_dir(), tree.path("a"));

    explorer->navigate("/");
    size_t history = explorer->back_history().size();
    explorer->go_up();
    EXPECT_EQ(explorer->current_dir(), std::filesystem::path("/"));
    EXPECT_EQ(explorer->back_history().size(), history);
}
