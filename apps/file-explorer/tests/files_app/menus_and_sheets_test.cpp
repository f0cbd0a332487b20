#include "files_app/file_explorer_widget.hpp"
#include "files_app/menus.hpp"
#include "files_app/sheet.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

using namespace files;
using kavo_testing::TempTree;
using kavo_ui::Key;
using kavo_ui::KeyEvent;

namespace {

std::vector<std::string> labels(const app::MenuItems& items)
{
    std::vector<std::string> out;
    for (const auto& i : items)
        out.push_back(i.separator ? "—" : i.label);
    return out;
}

bool has(const app::MenuItems& items, const std::string& label)
{
    auto l = labels(items);
    return std::find(l.begin(), l.end(), label) != l.end();
}

}

TEST(Menus, TheContextMenuFollowsTheSituation)
{
    app::MenuState empty_folder;
    auto menu = context_menu_items(empty_folder);
    ASSERT_FALSE(menu.empty());
    EXPECT_EQ(menu.front().label, "New Folder");
    EXPECT_FALSE(has(menu, "Paste"));
    EXPECT_FALSE(has(menu, "Open"));
    EXPECT_FALSE(has(menu, "Move to Trash"));

    model::DirectoryEntry a, b;
    a.name = "a.txt";
    b.name = "b.txt";
    const model::DirectoryEntry* two[] = {&a, &b};
    app::MenuState two_selected;
    two_selected.selection = two;
    menu = context_menu_items(two_selected);
    EXPECT_TRUE(has(menu, "Open"));
    EXPECT_TRUE(has(menu, "Move to Trash"));
    EXPECT_FALSE(has(menu, "Send to Nearby Device…"));
    EXPECT_FALSE(has(menu, "Properties…"));

    app::MenuState trash;
    trash.situation.in_trash = true;
    EXPECT_EQ(labels(context_menu_items(trash)), std::vector<std::string>{"Empty Trash"});

    app::MenuState archive;
    archive.situation.in_archive = true;
    EXPECT_EQ(labels(context_menu_items(archive)), std::vector<std::string>{"Extract archive…"});

    for (const auto& items : {context_menu_items(empty_folder), context_menu_items(two_selected), main_menu_items(empty_folder)}) {
        ASSERT_FALSE(items.empty());
        EXPECT_FALSE(items.front().separator);
        EXPECT_FALSE(items.back().separator);
        for (size_t i = 1; i < items.size(); ++i)
            EXPECT_FALSE(items[i].separator && items[i - 1].separator);
    }
}

TEST(Menus, TheMainMenuHasACompactForm)
{
    app::MenuState full;
    full.show_hidden = true;
    auto menu = main_menu_items(full);
    EXPECT_EQ(menu.front().label, "New Folder");
    EXPECT_FALSE(has(menu, "Grid"));
    auto hidden = std::find_if(menu.begin(), menu.end(), [](const auto& i) { return i.label == "Show Hidden Files"; });
    ASSERT_NE(hidden, menu.end());
    EXPECT_TRUE(hidden->checked);
    EXPECT_EQ(menu.back().label, "Keyboard shortcuts");

    app::MenuState compact;
    compact.compact = true;
    compact.can_go_forward = true;
    compact.view_mode = model::ViewMode::Grid;
    menu = main_menu_items(compact);
    EXPECT_EQ(labels(menu)[0], "Forward");
    auto grid = std::find_if(menu.begin(), menu.end(), [](const auto& i) { return i.label == "Grid"; });
    ASSERT_NE(grid, menu.end());
    EXPECT_TRUE(grid->checked);
    auto sort = std::find_if(menu.begin(), menu.end(), [](const auto& i) { return !i.submenu.empty(); });
    ASSERT_NE(sort, menu.end());
    EXPECT_EQ(sort->submenu.size(), 7u) << "four keys, a separator, two directions";
}

TEST(SheetGeometry, FollowsTheWindowAndItsLines)
{
    app::Sheet plain;
    auto g = app::sheet_geometry(plain, kavo_ui::Rect{0, 0, 300, 800});
    EXPECT_FLOAT_EQ(g.sheet.width(), 288);
    EXPECT_FLOAT_EQ(app::sheet_geometry(plain, kavo_ui::Rect{0, 0, 1000, 800}).sheet.width(), 648);
    EXPECT_FLOAT_EQ(g.content_height, 143);
    EXPECT_FLOAT_EQ(app::sheet_geometry(plain, kavo_ui::Rect{0, 0, 800, 150}).sheet.height(), 180);

    app::Sheet long_sheet;
    long_sheet.details.assign(20, "line");
    long_sheet.confirm = app::ConfirmAction{app::ConfirmKind::EmptyTrash, "Empty Trash", {}, {}, {}};
    g = app::sheet_geometry(long_sheet, kavo_ui::Rect{0, 0, 1000, 1000});
    EXPECT_FLOAT_EQ(g.content_height, 116 + 27 * 14 + 58);
    EXPECT_FLOAT_EQ(g.sheet.height(), 552);
    EXPECT_FLOAT_EQ(app::sheet_geometry(long_sheet, kavo_ui::Rect{0, 0, 1000, 500}).sheet.height(), 468);
    EXPECT_EQ(g.close_button, (kavo_ui::Rect{g.sheet.right - 48, g.sheet.top + 6, g.sheet.right - 8, g.sheet.top + 46}));
    EXPECT_FLOAT_EQ(g.sheet.center().x, 500);
}

namespace {

class WindowKeys : public ::testing::Test {
protected:
    WindowKeys()
    {
        tree.file("a.txt");
        tree.file("b.txt");
        explorer = app::FileExplorerWidget::create(std::nullopt, tree.path());
        frame();
    }
    void frame()
    {
        explorer->layout(kavo_ui::Rect{0, 0, 1000, 700}, theme);
    }
    void key(Key k, char32_t c = 0, bool primary = false, bool shift = false)
    {
        explorer->handle_event(KeyEvent{k, c, {primary, shift, false}, false});
        frame();
    }
    kavo_ui::Theme theme = kavo_ui::dark_theme();
    TempTree tree;
    std::unique_ptr<app::FileExplorerWidget> explorer;
};

}

TEST_F(WindowKeys, ZoomKeysStopAtTheirEnds)
{
    key(Key::Character, '=', true);
    EXPECT_EQ(explorer->zoom(), 1) << "Primary+= zooms in like Primary++";
    for (int i = 0; i < 8; ++i)
        key(Key::Character, '+', true);
    EXPECT_EQ(explorer->zoom(), 6);
    key(Key::Character, '0', true);
    EXPECT_EQ(explorer->zoom(), 0);
    for (int i = 0; i < 5; ++i)
        key(Key::Character, '_', true);
    EXPECT_EQ(explorer->zoom(), -2);
}

TEST_F(WindowKeys, EscapeClosesWhatIsOpenFirst)
{
    EXPECT_EQ(explorer->handle_event(KeyEvent{Key::Escape, 0, {}, false}), kavo_ui::EventResult::Ignored)
        << "nothing open and nothing selected: nothing to do";
    key(Key::Down);
    key(Key::Menu);
    EXPECT_TRUE(explorer->menu().is_open());
    key(Key::Escape);
    EXPECT_FALSE(explorer->menu().is_open());
    EXPECT_EQ(explorer->selection().selected_count(), 1u) << "the first Escape only closed the menu";
    key(Key::Escape);
    EXPECT_TRUE(explorer->selection().empty());

    key(Key::F1);
    ASSERT_TRUE(explorer->sheet());
    EXPECT_EQ(explorer->sheet()->details.size(), 11u);
    key(Key::Enter);
    EXPECT_TRUE(explorer->sheet()) << "Enter does nothing on a sheet without a confirm action";
    key(Key::Escape);
    EXPECT_FALSE(explorer->sheet());
}

TEST_F(WindowKeys, TheMenuKeyOpensAtTheFocusedRow)
{
    key(Key::Down);
    key(Key::Down);
    key(Key::Menu);
    ASSERT_TRUE(explorer->menu().is_open());
    auto row = explorer->menu().level_rects().front();
    EXPECT_NEAR(row.top, 48 + 30 + 34 + 24, 0.5) << "24 px below the second row's top";
    key(Key::Down);
    key(Key::Enter);
    EXPECT_FALSE(explorer->menu().is_open());
}
