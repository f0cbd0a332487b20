#include "kavo_ui/selection_model.hpp"

#include <gtest/gtest.h>

#include <functional>

using kavo_ui::SelectionModel;

namespace {

struct Gesture {
    const char* name;
    std::function<void(SelectionModel&)> apply;
    std::vector<size_t> selected;
    std::optional<size_t> focused;
};

}

TEST(SelectionModel, GesturesProduceTheExpectedSelection)
{
    const Gesture cases[] = {
        {"plain click selects only it", [](auto& s) { s.apply_click(3, false, false); s.apply_click(1, false, false); }, {1}, 1},
        {"primary click toggles and keeps the rest",
         [](auto& s) { s.apply_click(1, false, false); s.apply_click(4, true, false); }, {1, 4}, 4},
        {"primary click on a selected entry removes it",
         [](auto& s) { s.apply_click(1, false, false); s.apply_click(4, true, false); s.apply_click(1, true, false); }, {4}, 1},
        {"shift click selects the range from the anchor",
         [](auto& s) { s.apply_click(2, false, false); s.apply_click(5, false, true); }, {2, 3, 4, 5}, 5},
        {"shift click backwards from the anchor",
         [](auto& s) { s.apply_click(4, false, false); s.apply_click(1, false, true); }, {1, 2, 3, 4}, 1},
        {"a second shift click replaces the range, anchor kept",
         [](auto& s) { s.apply_click(3, false, false); s.apply_click(6, false, true); s.apply_click(2, false, true); }, {2, 3}, 2},
        {"shift click without an anchor selects only it", [](auto& s) { s.apply_click(3, false, true); }, {3}, 3},
        {"move_to extends from the anchor", [](auto& s) { s.move_to(1, false); s.move_to(3, true); }, {1, 2, 3}, 3},
        {"move_to without extend selects only it", [](auto& s) { s.select_all(); s.move_to(2, false); }, {2}, 2},
        {"select_all keeps the focus", [](auto& s) { s.apply_click(5, false, false); s.select_all(); }, {0, 1, 2, 3, 4, 5, 6, 7}, 5},
        {"an index past the end changes nothing", [](auto& s) { s.apply_click(1, false, false); s.apply_click(8, false, false); }, {1}, 1},
        {"clear drops selection, anchor and focus", [](auto& s) { s.apply_click(1, false, false); s.clear(); }, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SelectionModel s(8);
        c.apply(s);
        EXPECT_EQ(s.selected(), c.selected);
        EXPECT_EQ(s.selected_count(), c.selected.size());
        EXPECT_EQ(s.focused(), c.focused);
    }
}

TEST(SelectionModel, ClearForgetsTheAnchorSoShiftStartsAfresh)
{
    SelectionModel s(8);
    s.apply_click(2, false, false);
    s.clear();
    s.apply_click(5, false, true);
    EXPECT_EQ(s.selected(), std::vector<size_t>{5});
}
