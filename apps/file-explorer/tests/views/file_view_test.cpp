#include "views/file_view/file_view.hpp"

#include <gtest/gtest.h>

using namespace files;
using kavo_ui::PointerAction;
using kavo_ui::PointerButton;
using kavo_ui::PointerEvent;

namespace {

// A view over a few entries, with helpers that read like the user's gestures.
class FileViewHarness : public ::testing::Test {
protected:
    FileViewHarness() : requests(std::make_shared<command::RequestQueue>()), view(requests)
    {
        for (const char* name : {"a", "b", "c", "d", "e", "f", "g"}) {
            model::DirectoryEntry e;
            e.name = name;
            e.path = std::string("/x/") + name;
            entries.push_back(e);
        }
        selection.reset(entries.size());
    }
    void show(model::ViewMode mode, float width)
    {
        views::FileView::Model m;
        m.entries = &entries;
        m.selection = &selection;
        m.view_mode = mode;
        view.set_model(m);
        view.layout(kavo_ui::Rect{0, 0, width, 1000}, theme);
    }
    void pointer(PointerAction action, float x, float y, PointerButton button = PointerButton::Primary)
    {
        view.handle_event(PointerEvent{action, {x, y}, button, {}, 1});
    }
    void key(kavo_ui::Key k, bool shift = false) { view.handle_event(kavo_ui::KeyEvent{k, 0, {false, shift, false}, false}); }
    std::vector<command::Request> sent() { return requests->drain(); }

    kavo_ui::Theme theme = kavo_ui::dark_theme();
    model::EntryList entries;
    kavo_ui::SelectionModel selection;
    command::RequestQueueHandle requests;
    views::FileView view;
};

}

TEST_F(FileViewHarness, AMoveBeyondSixPixelsStartsADrag)
{
    show(model::ViewMode::List, 600);
    pointer(PointerAction::Down, 100, 40);
    auto first = sent();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_TRUE(std::holds_alternative<command::ItemClicked>(first[0]));
    ASSERT_TRUE(std::holds_alternative<command::PressOnItem>(first[1]));
    EXPECT_EQ(std::get<command::PressOnItem>(first[1]).path, "/x/a");

    pointer(PointerAction::Move, 105, 40);
    EXPECT_TRUE(sent().empty()) << "5 px is still a click";
    pointer(PointerAction::Move, 107, 40);
    auto drag = sent();
    ASSERT_EQ(drag.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<command::DragStart>(drag[0]));
    pointer(PointerAction::Move, 150, 40);
    EXPECT_TRUE(sent().empty()) << "one drag per press";

    pointer(PointerAction::Down, 100, 40);
    pointer(PointerAction::Up, 100, 40);
    sent();
    pointer(PointerAction::Move, 180, 40);
    EXPECT_TRUE(sent().empty()) << "a release ends the pending press";
}

TEST_F(FileViewHarness, HeaderPressesSortAndSecondaryPressesAskForTheMenu)
{
    show(model::ViewMode::List, 600);
    pointer(PointerAction::Down, 400, 15);
    auto header = sent();
    ASSERT_EQ(header.size(), 1u);
    EXPECT_EQ(std::get<command::SortByColumn>(header[0]).key, model::SortBy::Size);
    pointer(PointerAction::Down, 500, 15);
    EXPECT_EQ(std::get<command::SortByColumn>(sent()[0]).key, model::SortBy::Modified);

    pointer(PointerAction::Down, 100, 30 + 34 * 2 + 5, PointerButton::Secondary);
    auto menu = sent();
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(std::get<command::ContextMenuOnItem>(menu[0]).index, 2u);
}

TEST_F(FileViewHarness, GridArrowsMoveByCellsAndRows)
{
    show(model::ViewMode::Grid, 10 + 3 * 112 + 2 * 16 + 10 + 5);  // three columns
    ASSERT_EQ(view.geometry().columns(), 3u);
    selection.move_to(5, false);
    struct Case {
        kavo_ui::Key key;
        size_t to;
    } cases[] = {{kavo_ui::Key::Down, 6}, {kavo_ui::Key::Up, 2}, {kavo_ui::Key::Right, 6}, {kavo_ui::Key::Left, 4}};
    for (auto c : cases) {
        key(c.key, true);
        auto r = sent();
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(std::get<command::MoveSelection>(r[0]).index, c.to);
        EXPECT_TRUE(std::get<command::MoveSelection>(r[0]).extend);
    }
    show(model::ViewMode::List, 600);
    key(kavo_ui::Key::Down);
    EXPECT_TRUE(sent().empty()) << "in the list the explorer moves the focus";
}

TEST_F(FileViewHarness, AccessibleListNamesEveryEntry)
{
    show(model::ViewMode::List, 600);
    selection.apply_click(1, false, false);
    std::vector<kavo_ui::AccessNode> nodes;
    view.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 1u);
    const auto& list = nodes[0];
    EXPECT_EQ(list.role, kavo_ui::AccessRole::List);
    EXPECT_EQ(list.value, "b");
    EXPECT_EQ(list.position, (std::pair<size_t, size_t>{2, 7}));
    ASSERT_EQ(list.children.size(), 7u);
    EXPECT_EQ(list.children[1].name, "b");
    EXPECT_TRUE(list.children[1].states & kavo_ui::k_state_selected);
    EXPECT_FALSE(list.children[0].states & kavo_ui::k_state_selected);
    EXPECT_FALSE(list.children[0].description.empty());
}
