#include "kavo_ui/context_menu.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;

namespace {

class MenuHarness : public ::testing::Test {
protected:
    MenuHarness()
    {
        menu.layout(window, dark_theme());
        using Item = ContextMenu::Item;
        menu.push(Item::action("Open", "open"));
        menu.push(Item::separator_item());
        menu.push(Item::action("Disabled", "never", false));
        menu.push(Item::sub("Sort by", {Item::check("Name", "sort-name", true), Item::check("Size", "sort-size", false)}));
        menu.push(Item::check("Show Hidden Files", "hidden", false));
    }
    void key(Key k) { menu.handle_event(KeyEvent{k, 0, {}, false}); }
    Rect window{0, 0, 800, 600};
    ContextMenu menu;
};

}

TEST_F(MenuHarness, KeysSkipSeparatorsAndDisabledItemsAndEnterSubmenus)
{
    menu.open_at({100, 100}, window);
    key(Key::Down);
    EXPECT_EQ(menu.highlighted(), 0u);
    key(Key::Down);
    EXPECT_EQ(menu.highlighted(), 3u) << "past the separator and the disabled item";
    key(Key::Right);
    EXPECT_EQ(menu.level_rects().size(), 2u);
    EXPECT_EQ(menu.highlighted(1), 0u);
    key(Key::Down);
    key(Key::Left);
    EXPECT_EQ(menu.level_rects().size(), 1u);
    key(Key::Up);
    EXPECT_EQ(menu.highlighted(), 0u);
    key(Key::Up);
    EXPECT_EQ(menu.highlighted(), 4u) << "wraps around";
    key(Key::Enter);
    EXPECT_FALSE(menu.is_open());
    auto chosen = menu.take_chosen();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->command, "hidden");
}

TEST_F(MenuHarness, EscapeClosesOneLevelAndAPressOutsideClosesAll)
{
    menu.open_at({100, 100}, window);
    key(Key::Down);
    key(Key::Down);
    key(Key::Right);
    key(Key::Escape);
    EXPECT_TRUE(menu.is_open());
    key(Key::Escape);
    EXPECT_FALSE(menu.is_open());

    menu.open_at({100, 100}, window);
    menu.handle_event(PointerEvent{PointerAction::Down, {700, 500}, PointerButton::Primary, {}, 1});
    EXPECT_FALSE(menu.is_open());
    EXPECT_FALSE(menu.take_chosen());
}

TEST_F(MenuHarness, OpensInsideTheWindowAndChoosesByPointer)
{
    menu.open_at({790, 590}, window);
    Rect r = menu.level_rects().front();
    EXPECT_LE(r.right, 796);
    EXPECT_LE(r.bottom, 596);
    EXPECT_GE(r.top, 4);
    auto at = [&](size_t index) {
        return Point{r.left + 20, r.top + 5 + 30 * float(index) + (index > 1 ? 9 - 30 : 0) + 15};
    };
    EXPECT_EQ(menu.item_at(at(0)), 0u);
    menu.handle_event(PointerEvent{PointerAction::Down, at(2), PointerButton::Primary, {}, 1});
    EXPECT_TRUE(menu.is_open()) << "a disabled item does nothing";
    menu.handle_event(PointerEvent{PointerAction::Down, at(0), PointerButton::Primary, {}, 1});
    EXPECT_EQ(menu.take_chosen()->command, "open");

    std::vector<AccessNode> nodes;
    menu.open_at({10, 10}, window);
    menu.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].role, AccessRole::Menu);
    ASSERT_EQ(nodes[0].children.size(), 4u) << "separators are no items";
    EXPECT_TRUE(nodes[0].children[1].states & k_state_disabled);
}
