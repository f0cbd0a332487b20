#include "files_app/file_explorer_widget.hpp"
#include "native_observer/snapshot.hpp"
#include "kavo_testing/temp_tree.hpp"

#include "kavo_ui/shot_frame.hpp"

#include <gtest/gtest.h>

using files::app::FileExplorerWidget;
using files::native_observer::build_snapshot;
using files::native_observer::order_hash;
using kavo_testing::TempTree;

namespace {

files::model::DirectoryEntry entry(std::string name, bool folder = false, uint64_t size = 0)
{
    files::model::DirectoryEntry e;
    e.name = std::move(name);
    e.is_folder = folder;
    e.size = size;
    return e;
}

nlohmann::ordered_json laid_out_snapshot(FileExplorerWidget& w)
{
    auto frame = kavo_ui::ShotFrame::create({900, 600}, kavo_ui::shot_theme());
    frame.sync(w);
    frame.layout(w);
    return build_snapshot(w);
}

}

TEST(OrderHash, CoversNamesKindsAndOrderOnly)
{
    EXPECT_EQ(order_hash({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    files::model::EntryList ab = {entry("a"), entry("b")};
    files::model::EntryList ba = {entry("b"), entry("a")};
    files::model::EntryList ab_sized = {entry("a", false, 10), entry("b", false, 99)};
    files::model::EntryList ab_folder = {entry("a", true), entry("b")};
    files::model::EntryList renamed = {entry("a"), entry("c")};
    files::model::EntryList joined = {entry("ab")};
    EXPECT_NE(order_hash(ab), order_hash(ba));
    EXPECT_EQ(order_hash(ab), order_hash(ab_sized));
    EXPECT_NE(order_hash(ab), order_hash(ab_folder));
    EXPECT_NE(order_hash(ab), order_hash(renamed));
    EXPECT_NE(order_hash(ab), order_hash(joined)) << "lengths keep names apart";
    // SHA-256 of the u64 LE length 1, "a" and the kind byte 0, computed independently.
    EXPECT_EQ(order_hash({entry("a")}), "f412657f330524fe41f96a52aea3d506f93e7f284720cf781a098a5361f610d8");
}

TEST(Snapshot, DescribesTheViewInItsFixedOrder)
{
    TempTree tree;
    tree.file("b.txt", "bb");
    tree.file("a.txt", "a");
    auto w = FileExplorerWidget::create(std::nullopt, tree.path());
    auto s = laid_out_snapshot(*w);
    std::vector<std::string> keys;
    for (auto& [k, v] : s.items())
        keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"app", "view_id", "directory", "entry_count", "order_hash", "hash_algorithm",
                                              "ready", "is_loading", "has_error", "thumbnail_pending", "selected_indices",
                                              "selected_names", "primary_index", "offset_x", "offset_y", "offset_units",
                                              "last_cursor", "root_rect", "viewport_rect", "content_rect", "view_mode",
                                              "sort_by", "sort_order"}));
    EXPECT_EQ(s["entry_count"], 2);
    EXPECT_EQ(s["ready"], true);
    EXPECT_EQ(s["selected_indices"], nlohmann::ordered_json::array());
    EXPECT_EQ(s["primary_index"], nullptr);
    EXPECT_EQ(s["last_cursor"], nlohmann::ordered_json::array({nullptr, nullptr}));
    EXPECT_EQ(s["sort_by"], "Name");

    std::string ascending = s["order_hash"];
    w->set_sort_order(files::model::SortOrder::Descending);
    w->selection().apply_click(0, false, false);
    s = laid_out_snapshot(*w);
    EXPECT_NE(s["order_hash"], ascending);
    EXPECT_EQ(s["selected_names"], nlohmann::ordered_json::array({"b.txt"}));
    EXPECT_EQ(s["primary_index"], 0);
    EXPECT_EQ(s["sort_order"], "Descending");
}

TEST(Snapshot, LoadingAndErrorsAreNotReady)
{
    TempTree tree;
    auto w = FileExplorerWidget::create(std::nullopt, tree.path());
    auto s = laid_out_snapshot(*w);
    EXPECT_EQ(s["entry_count"], 0);
    EXPECT_EQ(s["order_hash"], "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(s["ready"], true) << "an empty folder is a settled view";

    w->show_loading_state();
    s = laid_out_snapshot(*w);
    EXPECT_EQ(s["is_loading"], true);
    EXPECT_EQ(s["ready"], false);

    w->navigate(tree.path("missing"));
    s = laid_out_snapshot(*w);
    EXPECT_EQ(s["has_error"], true);
    EXPECT_EQ(s["ready"], false);
    EXPECT_EQ(s["viewport_rect"], nullptr) << "the placeholder replaces the scroll area";
    EXPECT_EQ(s["content_rect"], nullptr);
}
