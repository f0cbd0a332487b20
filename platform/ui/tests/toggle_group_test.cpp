#include "kavo_ui/toggle_group.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;

namespace {

class ViewModeToggle {
public:
    ViewModeToggle() : group("view-mode", "View", {{"List", Icon::List}, {"Grid", Icon::Grid}, {"Columns", {}}})
    {
        group.layout(Rect{0, 0, 300, 32}, dark_theme());
    }
    void click(size_t segment, float release_dx = 0)
    {
        Point at = group.segment_rect(segment).center();
        group.handle_event(PointerEvent{PointerAction::Down, at, PointerButton::Primary, {}, 1});
        at.x += release_dx;
        group.handle_event(PointerEvent{PointerAction::Move, at, PointerButton::None, {}, 1});
        group.handle_event(PointerEvent{PointerAction::Up, at, PointerButton::Primary, {}, 1});
    }
    EventResult key(Key k) { return group.handle_event(KeyEvent{k, 0, {}, false}); }

    ToggleGroup group;
};

}

TEST(ToggleGroup, PointerPicksASegmentOnRelease)
{
    ViewModeToggle t;
    t.click(1);
    EXPECT_EQ(t.group.take_chosen(), 1u);
    EXPECT_EQ(t.group.selected(), 1u);
    EXPECT_EQ(t.group.take_chosen(), std::nullopt) << "reported once";

    t.click(1);
    EXPECT_EQ(t.group.take_chosen(), std::nullopt) << "the selected segment again";
    t.click(2, 200);
    EXPECT_EQ(t.group.take_chosen(), std::nullopt) << "released outside";
    EXPECT_EQ(t.group.selected(), 1u);
    t.click(0, 80);
    EXPECT_EQ(t.group.take_chosen(), std::nullopt) << "released over another segment";

    t.group.set_selected(2);
    EXPECT_EQ(t.group.take_chosen(), std::nullopt) << "the owner's change is not a pick";
    t.group.set_selected(7);
    EXPECT_EQ(t.group.selected(), 2u);
}

TEST(ToggleGroup, ArrowsPickWhileFocused)
{
    ViewModeToggle t;
    EXPECT_EQ(t.key(Key::Right), EventResult::Ignored) << "not focused";
    t.group.set_focused(true);
    struct Step {
        Key key;
        size_t selected;
        std::optional<size_t> chosen;
    };
    const Step steps[] = {
        {Key::Right, 1, 1}, {Key::Right, 2, 2}, {Key::Right, 2, std::nullopt}, {Key::Home, 0, 0},
        {Key::Left, 0, std::nullopt}, {Key::End, 2, 2},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t.key(steps[i].key), EventResult::Handled);
        EXPECT_EQ(t.group.selected(), steps[i].selected);
        EXPECT_EQ(t.group.take_chosen(), steps[i].chosen);
    }
}

TEST(ToggleGroup, AccessibleAsAGroupOfToggles)
{
    ViewModeToggle t;
    t.group.set_selected(1);
    t.group.set_focused(true);
    std::vector<AccessNode> nodes;
    t.group.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].role, AccessRole::Group);
    EXPECT_EQ(nodes[0].name, "View");
    ASSERT_EQ(nodes[0].children.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& child = nodes[0].children[i];
        EXPECT_EQ(child.role, AccessRole::Toggle);
        EXPECT_EQ(child.name, t.group.segments()[i].label);
        EXPECT_EQ(bool(child.states & k_state_checked), i == 1);
        EXPECT_EQ(bool(child.states & k_state_focused), i == 1);
        EXPECT_EQ(child.bounds, t.group.segment_rect(i));
    }
}
