#include "kavo_ui/shot_frame.hpp"
#include "kavo_ui/widgets.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;
using namespace std::chrono_literals;

namespace {

// Content of a given height, standing in for a list.
class Tall final : public Widget {
public:
    float height = 1000;
    Size measure(float w, const Theme&) override { return {w, height}; }
};

}

TEST(Scrollable, KeepsItsOffsetAcrossRelayoutAndClampsWhenContentShrinks)
{
    Theme theme = dark_theme();
    Tall content;
    Scrollable scroll(content);
    scroll.layout(Rect{0, 0, 300, 200}, theme);
    scroll.handle_event(WheelEvent{{10, 10}, -3, 0, {}});
    EXPECT_FLOAT_EQ(scroll.offset_y(), 144);
    EXPECT_FLOAT_EQ(content.bounds().top, -144);

    scroll.layout(Rect{0, 0, 320, 220}, theme);
    EXPECT_FLOAT_EQ(scroll.offset_y(), 144);

    content.height = 300;
    scroll.layout(Rect{0, 0, 320, 220}, theme);
    EXPECT_FLOAT_EQ(scroll.offset_y(), 80);

    content.height = 100;
    scroll.layout(Rect{0, 0, 320, 220}, theme);
    EXPECT_FLOAT_EQ(scroll.offset_y(), 0);
}

TEST(Scrollable, ScrollIntoViewMovesTheLeastAmount)
{
    Theme theme = dark_theme();
    Tall content;
    Scrollable scroll(content);
    scroll.layout(Rect{0, 0, 300, 200}, theme);
    scroll.scroll_into_view(500, 530);
    EXPECT_FLOAT_EQ(scroll.offset_y(), 330);
    scroll.scroll_into_view(400, 430);
    EXPECT_FLOAT_EQ(scroll.offset_y(), 330) << "already visible";
    scroll.scroll_into_view(100, 130);
    EXPECT_FLOAT_EQ(scroll.offset_y(), 100);
}

TEST(StatusBubble, FadesInHoldsAndFadesOutUnlessHovered)
{
    Theme theme = dark_theme();
    StatusBubble bubble;
    bubble.set_text("3 items");
    auto t0 = Clock::now();
    bubble.poke(t0);
    auto opacity_at = [&](Clock::duration dt) {
        bubble.sync(FrameContext{t0 + dt, theme});
        return bubble.opacity();
    };
    EXPECT_GT(opacity_at(75ms), 0.3f);
    EXPECT_TRUE(bubble.wants_animation_frame());
    EXPECT_FLOAT_EQ(opacity_at(1s), 1.0f);
    EXPECT_FALSE(bubble.wants_animation_frame()) << "no frames while it just stays";
    ASSERT_TRUE(bubble.next_deadline());
    EXPECT_EQ(*bubble.next_deadline(), t0 + StatusBubble::k_fade_in + StatusBubble::k_hold);

    bubble.set_hover(true, t0 + 2s);
    EXPECT_FLOAT_EQ(opacity_at(10s), 1.0f);
    bubble.set_hover(false, t0 + 10s);
    EXPECT_FLOAT_EQ(opacity_at(12s), 1.0f) << "the hold restarts when the pointer leaves";
    EXPECT_FLOAT_EQ(opacity_at(20s), 0.0f);
    EXPECT_FALSE(bubble.visible());

    std::vector<AccessNode> nodes;
    bubble.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].role, AccessRole::Status);
    EXPECT_EQ(nodes[0].name, "3 items");
}

TEST(Button, ActivatesOnReleaseInsideOnly)
{
    Theme theme = dark_theme();
    int clicks = 0;
    Button button("b", "Go", [&] { ++clicks; });
    button.layout(Rect{0, 0, 100, 32}, theme);
    auto press = [&](PointerAction a, float x) {
        button.handle_event(PointerEvent{a, {x, 10}, PointerButton::Primary, {}, 1});
    };
    press(PointerAction::Down, 10);
    press(PointerAction::Up, 20);
    EXPECT_EQ(clicks, 1);
    press(PointerAction::Down, 10);
    press(PointerAction::Move, 200);
    press(PointerAction::Up, 200);
    EXPECT_EQ(clicks, 1) << "released outside";
    button.set_enabled(false);
    press(PointerAction::Down, 10);
    press(PointerAction::Up, 10);
    EXPECT_EQ(clicks, 1) << "disabled";
}

TEST(ShotFrame, RendersTheTreeIntoAPng)
{
    Theme theme = shot_theme();
    Column column(0);
    Button button("b", "Press");
    button.set_kind(Button::Kind::Accent);
    column.add(button);
    column.add_owned(std::make_unique<Spacer>(0, 1), 1);
    auto frame = ShotFrame::create({200, 100}, theme);
    frame.sync(column);
    frame.layout(column);
    frame.draw(column);
    frame.draw_overlay(column);
    EXPECT_EQ(frame.pixel(150, 90), 0xff000000u | (uint32_t(theme.window_background.r) << 16)
                                         | (uint32_t(theme.window_background.g) << 8) | theme.window_background.b);
    EXPECT_EQ(frame.pixel(3, 16) & 0xffffff, (uint32_t(theme.accent.r) << 16) | (uint32_t(theme.accent.g) << 8) | theme.accent.b);
    auto path = std::filesystem::temp_directory_path() / ("kavo-shot-" + std::to_string(getpid()) + "/x.png");
    auto written = frame.write_png(path);
    ASSERT_TRUE(written) << written.error();
    EXPECT_GT(std::filesystem::file_size(*written), 100u);
    std::filesystem::remove_all(path.parent_path());
}
