#include "views/toolbar/file_toolbar.hpp"

#include <gtest/gtest.h>

using namespace files;

namespace {

std::vector<std::string> controls_at(float width, model::ViewMode mode, bool archive = false)
{
    auto requests = std::make_shared<command::RequestQueue>();
    views::PathBar path_bar(requests);
    views::FileToolbar toolbar(path_bar, requests);
    toolbar.update({true, true, true, mode, archive});
    auto theme = kavo_ui::dark_theme();
    toolbar.layout(kavo_ui::Rect{0, 0, width, 48}, theme);
    if (toolbar.take_structure_dirty())
        toolbar.layout(kavo_ui::Rect{0, 0, width, 48}, theme);
    return toolbar.control_ids();
}

}

TEST(FileToolbar, ControlsFollowWidthModeAndArchive)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(controls_at(759, model::ViewMode::Grid), (V{"files.back", "files.up", "files.view_menu"}));
    EXPECT_EQ(controls_at(760, model::ViewMode::Grid),
              (V{"files.back", "files.forward", "files.up", "files.view-mode", "files.sort_menu", "files.view_menu"}));
    EXPECT_EQ(controls_at(1000, model::ViewMode::List), (V{"files.back", "files.forward", "files.up", "files.view-mode", "files.view_menu"}));
    EXPECT_EQ(controls_at(1000, model::ViewMode::List, true),
              (V{"files.back", "files.forward", "files.up", "files.view-mode", "files.archive.extract"}));
    EXPECT_EQ(controls_at(700, model::ViewMode::List, true), (V{"files.back", "files.up", "files.archive.extract"}));
}

TEST(FileToolbar, ButtonsPostTheirActionAndCompactExtractLosesItsText)
{
    auto requests = std::make_shared<command::RequestQueue>();
    views::PathBar path_bar(requests);
    views::FileToolbar toolbar(path_bar, requests);
    toolbar.update({true, false, true, model::ViewMode::List, true});
    auto theme = kavo_ui::dark_theme();
    toolbar.layout(kavo_ui::Rect{0, 0, 700, 48}, theme);
    auto* extract = toolbar.button("files.archive.extract");
    ASSERT_TRUE(extract);
    EXPECT_TRUE(extract->label().empty());
    EXPECT_EQ(extract->accessible_name(), "Extract archive…");
    EXPECT_FLOAT_EQ(extract->bounds().width(), 36);
    toolbar.button("files.back")->activate();
    auto sent = requests->drain();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(std::get<command::ControlActivated>(sent[0]).action, "files.back");
}
