#include "kavo_testing/temp_tree.hpp"
#include "views/path_bar/breadcrumbs.hpp"

#include <gtest/gtest.h>

using namespace files::views;
using kavo_testing::TempTree;

namespace {

std::vector<std::string> labels(const BreadcrumbTrail& t)
{
    std::vector<std::string> out;
    for (const auto& c : t.crumbs)
        out.push_back(c.label);
    return out;
}

}

TEST(Breadcrumbs, StartFromTheInnermostRootThenHomeThenSlash)
{
    struct Case {
        const char* name;
        std::filesystem::path path;
        std::vector<std::filesystem::path> roots;
        std::vector<std::string> labels;
        kavo_ui::Icon icon;
    } cases[] = {
        {"workspace root", "/var/workspace/team/q3", {"/var/workspace"}, {"workspace", "team", "q3"}, kavo_ui::Icon::Workspace},
        {"root of / is Workspace", "/srv/x", {"/"}, {"Workspace", "srv", "x"}, kavo_ui::Icon::Workspace},
        {"nested roots, longest wins", "/a/b/c", {"/a", "/a/b"}, {"b", "c"}, kavo_ui::Icon::Workspace},
        {"home itself", "/home/u", {}, {"Home"}, kavo_ui::Icon::Home},
        {"below home", "/home/u/Docs/x", {}, {"Home", "Docs", "x"}, kavo_ui::Icon::Home},
        {"elsewhere", "/usr/share", {}, {"/", "usr", "share"}, kavo_ui::Icon::Root},
        {"a sibling of home", "/home/user2", {}, {"/", "home", "user2"}, kavo_ui::Icon::Root},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto trail = build_breadcrumbs(c.path, std::filesystem::path("/home/u"), c.roots);
        EXPECT_EQ(labels(trail), c.labels);
        EXPECT_EQ(trail.icon, c.icon);
        EXPECT_EQ(trail.crumbs.back().path, c.path);
    }
    EXPECT_EQ(display_form("/home/u", std::filesystem::path("/home/u")), "~");
    EXPECT_EQ(display_form("/home/u/Docs", std::filesystem::path("/home/u")), "~/Docs");
    EXPECT_EQ(display_form("/srv", std::filesystem::path("/home/u")), "/srv");
}

TEST(Breadcrumbs, ANarrowRowKeepsTheFirstTheEllipsisAndTheCurrentFolder)
{
    std::vector<Breadcrumb> crumbs;
    for (const char* label : {"Home", "projects", "files", "src", "views", "current"})
        crumbs.push_back({label, label});
    auto measure = [](std::string_view s) { return 10.0f * float(s.size()); };  // 10 px a byte
    auto shown = [&](float width) {
        std::vector<std::string> out;
        for (const auto& item : layout_breadcrumbs(crumbs, kavo_ui::Rect{0, 0, width, 32}, measure)) {
            if (item.kind == CrumbItem::Kind::Segment)
                out.push_back(crumbs[*item.segment].label);
            else if (item.kind == CrumbItem::Kind::Ellipsis)
                out.push_back("…");
        }
        return out;
    };
    EXPECT_EQ(shown(2000), (std::vector<std::string>{"Home", "projects", "files", "src", "views", "current"}));
    EXPECT_EQ(shown(380), (std::vector<std::string>{"Home", "…", "views", "current"}));
    EXPECT_EQ(shown(100), (std::vector<std::string>{"Home", "…", "current"})) << "the current folder always shows";
    auto items = layout_breadcrumbs(crumbs, kavo_ui::Rect{0, 0, 2000, 32}, measure);
    ASSERT_EQ(items[1].kind, CrumbItem::Kind::Segment);
    EXPECT_FLOAT_EQ(items[1].rect.left, 26);
    EXPECT_FLOAT_EQ(items[1].hit.left, 23);
    EXPECT_FLOAT_EQ(items[2].rect.width(), 10 * 3 + 12) << "a separator with 6 px on each side";
}

TEST(Completion, ListsMatchingNamesFoldersFirstAndAtMostSixty)
{
    TempTree home;
    home.folder("Documents");
    home.folder("docs");
    home.file("doc.txt");
    home.file("Download.iso");
    home.file(".dotfile");
    for (int i = 0; i < 100; ++i)
        home.file("many/item" + std::to_string(i));
    auto names = [&](std::string_view text) {
        std::vector<std::string> out;
        for (const auto& c : completion_candidates(text, home.path()))
            out.push_back(c.name);
        return out;
    };
    EXPECT_EQ(names("~/Doc"), (std::vector<std::string>{"docs", "Documents", "doc.txt"}));
    EXPECT_EQ(names("~/."), std::vector<std::string>{".dotfile"});
    EXPECT_EQ(names("~/").size(), 5u) << "no dot names without a dot prefix";
    EXPECT_EQ(names("~/many/item").size(), 60u);
    EXPECT_TRUE(names("~/missing/").empty());
    EXPECT_EQ(expand_typed_path("~", home.path()), home.path());
    EXPECT_EQ(expand_typed_path("~/Docs", home.path()), home.path() / "Docs");
    EXPECT_EQ(expand_typed_path("~user/x", home.path()), std::filesystem::path("~user/x")) << "taken literally";
    EXPECT_EQ(expand_typed_path("~", std::nullopt), std::filesystem::path("~"));
}
