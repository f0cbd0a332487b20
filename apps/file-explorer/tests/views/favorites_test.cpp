#include "kavo_testing/temp_tree.hpp"
#include "views/favorites/favorites.hpp"
#include "views/places_sidebar/places_sidebar.hpp"

#include <gtest/gtest.h>

#include <fstream>

using namespace files::views;
using kavo_testing::TempTree;

namespace {

std::string read(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

kavo_ui::UserDirs dirs_of(const std::filesystem::path& home) { return kavo_ui::UserDirs::parse(std::nullopt, home); }

}

TEST(Favorites, FileLinesAreTrimmedAndBlankLinesSkipped)
{
    TempTree config;
    auto dirs = dirs_of("/home/u");
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::pair<std::string, std::string>> places;  // label, path
    } cases[] = {
        {"padded /tmp between blank lines", "\n\n   /tmp  \n", {{"tmp", "/tmp"}}},
        {"home alone", "/home/u", {{"Home", "/home/u"}}},
        {"only blanks", "\n \n\t\n", {}},
        {"a content folder keeps its kind", "/home/u/Music\n/srv/data", {{"Music", "/home/u/Music"}, {"data", "/srv/data"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        config.file("favorites", c.text);
        auto favorites = Favorites::load(config.path(), dirs);
        if (c.places.empty()) {
            EXPECT_EQ(favorites.places(), Favorites::defaults(dirs)) << "nothing left gives the defaults";
            continue;
        }
        ASSERT_EQ(favorites.places().size(), c.places.size());
        for (size_t i = 0; i < c.places.size(); ++i) {
            EXPECT_EQ(favorites.places()[i].label, c.places[i].first);
            EXPECT_EQ(favorites.places()[i].path, c.places[i].second);
        }
    }
    auto defaults = Favorites::load(config.path("missing"), dirs).places();
    ASSERT_EQ(defaults.size(), 6u);
    EXPECT_TRUE(defaults[0].is_home);
    EXPECT_EQ(defaults[1].kind, PlaceKind::Documents);
    EXPECT_EQ(defaults[5].kind, PlaceKind::Videos);
}

TEST(Favorites, ChangesAreSavedWithoutATrailingNewlineAndHomeStays)
{
    TempTree config;
    auto dirs = dirs_of("/home/u");
    config.file("favorites", "/home/u\n/a\n/b");
    auto favorites = Favorites::load(config.path(), dirs);
    favorites.save();
    EXPECT_EQ(read(config.path("favorites")), "/home/u\n/a\n/b") << "three entries, two newlines";

    EXPECT_FALSE(favorites.remove("/home/u")) << "the home row is never removed";
    EXPECT_TRUE(favorites.reorder(2, 0));
    EXPECT_FALSE(favorites.reorder(0, 3));
    EXPECT_FALSE(favorites.reorder(1, 1));
    EXPECT_TRUE(favorites.remove("/a"));
    favorites.save();
    EXPECT_EQ(read(config.path("favorites")), "/b\n/home/u");

    auto without_config = Favorites::load(std::nullopt, dirs);
    without_config.save();  // nothing to write to, nothing happens
    EXPECT_EQ(without_config.places().size(), 6u);
}

namespace {

class SidebarHarness : public ::testing::Test {
protected:
    SidebarHarness()
        : favorites(std::make_shared<Favorites>(Favorites::load(std::nullopt, dirs_of("/home/u"))))
        , requests(std::make_shared<files::command::RequestQueue>())
        , sidebar(favorites, {{"Root", "/", false, PlaceKind::Root}}, requests)
    {
        sidebar.layout(kavo_ui::Rect{0, 0, 220, 600}, kavo_ui::dark_theme());
    }
    void pointer(kavo_ui::PointerAction action, float y, kavo_ui::PointerButton button = kavo_ui::PointerButton::Primary)
    {
        sidebar.handle_event(kavo_ui::PointerEvent{action, {100, y}, button, {}, 1});
    }
    float row_y(size_t row) { return sidebar.row_rect(row).center().y; }

    std::shared_ptr<Favorites> favorites;
    files::command::RequestQueueHandle requests;
    PlacesSidebar sidebar;
};

}

TEST_F(SidebarHarness, RowsFollowTheLayoutArithmetic)
{
    EXPECT_EQ(sidebar.row_rect(0).top, 12 + 26);
    EXPECT_EQ(sidebar.row_rect(5).bottom, 12 + 26 + 6 * 34);
    EXPECT_EQ(sidebar.row_rect(6).top, 12 + 26 + 6 * 34 + 12 + 26) << "the System section after a gap and its header";
    EXPECT_EQ(sidebar.row_at({100, 20}), std::nullopt) << "a header is no row";
    EXPECT_EQ(sidebar.row_at({100, row_y(6)}), 6u);
}

TEST_F(SidebarHarness, PressAndReleaseOpensButADragAwayAndBackDoesNothing)
{
    pointer(kavo_ui::PointerAction::Down, row_y(2));
    pointer(kavo_ui::PointerAction::Up, row_y(2));
    auto opened = requests->drain();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(std::get<files::command::OpenPlace>(opened[0]).path, favorites->places()[2].path);

    pointer(kavo_ui::PointerAction::Down, row_y(2));
    pointer(kavo_ui::PointerAction::Move, row_y(4));
    pointer(kavo_ui::PointerAction::Move, row_y(2));
    pointer(kavo_ui::PointerAction::Up, row_y(2));
    EXPECT_TRUE(requests->drain().empty());

    pointer(kavo_ui::PointerAction::Down, row_y(1));
    pointer(kavo_ui::PointerAction::Move, row_y(4));
    pointer(kavo_ui::PointerAction::Up, row_y(4));
    auto reordered = requests->drain();
    ASSERT_EQ(reordered.size(), 1u);
    auto r = std::get<files::command::ReorderFavourites>(reordered[0]);
    EXPECT_EQ(r.from, 1u);
    EXPECT_EQ(r.to, 4u);

    pointer(kavo_ui::PointerAction::Down, row_y(6));
    EXPECT_EQ(std::get<files::command::OpenPlace>(requests->drain().at(0)).path, "/") << "system rows open on the press";
    pointer(kavo_ui::PointerAction::Down, row_y(3), kavo_ui::PointerButton::Secondary);
    EXPECT_TRUE(std::holds_alternative<files::command::FavouriteContextMenu>(requests->drain().at(0)));
}

TEST_F(SidebarHarness, AccessibleRowsNameTheirSection)
{
    sidebar.set_current_folder("/");
    std::vector<kavo_ui::AccessNode> nodes;
    sidebar.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].name, "Places");
    ASSERT_EQ(nodes[0].children.size(), 7u);
    EXPECT_EQ(nodes[0].children[0].description, "Favourite, /home/u");
    EXPECT_EQ(nodes[0].children[6].description, "System location, /");
    EXPECT_TRUE(nodes[0].children[6].states & kavo_ui::k_state_selected);
    EXPECT_EQ(nodes[0].children[6].position, (std::pair<size_t, size_t>{7, 7}));
}
