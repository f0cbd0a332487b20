#include "kavo_testing/temp_tree.hpp"
#include "views/path_bar/path_bar.hpp"

#include <gtest/gtest.h>

using namespace files;
using kavo_testing::TempTree;

TEST(PathBar, EditsSubmitsAndCancels)
{
    TempTree home;
    home.folder("Documents");
    auto requests = std::make_shared<command::RequestQueue>();
    views::PathBar bar(requests);
    bar.update({home.path("Documents"), home.path(), {}});
    auto theme = kavo_ui::dark_theme();
    bar.layout(kavo_ui::Rect{0, 0, 600, 32}, theme);
    EXPECT_EQ(bar.trail().crumbs.size(), 2u);

    // Enter on the current (last) crumb begins editing in the display form.
    bar.set_focus(true);
    bar.handle_event(kavo_ui::KeyEvent{kavo_ui::Key::Enter, 0, {}, false});
    ASSERT_TRUE(bar.editing());
    EXPECT_EQ(bar.entry().input().text(), "~/Documents");

    bar.handle_event(kavo_ui::KeyEvent{kavo_ui::Key::Escape, 0, {}, false});
    bar.handle_event(kavo_ui::KeyEvent{kavo_ui::Key::Escape, 0, {}, false});
    EXPECT_FALSE(bar.editing());
    EXPECT_TRUE(requests->drain().empty()) << "a cancellation asks for nothing";

    bar.begin_edit();
    bar.entry().input().set_text("~");
    bar.handle_event(kavo_ui::KeyEvent{kavo_ui::Key::Enter, 0, {}, false});
    EXPECT_FALSE(bar.editing());
    auto sent = requests->drain();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(std::get<command::OpenTypedPath>(sent[0]).path, home.path());

    // A press on the first crumb opens it.
    const auto& first = bar.items()[1];
    ASSERT_EQ(first.kind, views::CrumbItem::Kind::Segment);
    bar.handle_event(kavo_ui::PointerEvent{kavo_ui::PointerAction::Down, first.rect.center(), kavo_ui::PointerButton::Primary, {}, 1});
    sent = requests->drain();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(std::get<command::OpenCrumb>(sent[0]).path, home.path());
}
