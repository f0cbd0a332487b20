#pragma once

#include "kavo_ui/icons.hpp"
#include "kavo_ui/press_behavior.hpp"
#include "kavo_ui/widget.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo_ui {

// Routes pointer events to the child under the pointer; a child that took a press keeps
// receiving the pointer until the release.
class PointerRouter {
public:
    EventResult route(const Event& e, const std::vector<Widget*>& children);
    void reset() { m_captured = nullptr; }

private:
    Widget* m_captured = nullptr;
};

class Text : public Widget {
public:
    explicit Text(std::string text = {}, TextStyle style = {}, std::optional<Color> color = std::nullopt);
    void set_text(std::string text);
    const std::string& text() const { return m_text; }
    void set_color(std::optional<Color> color) { m_color = color; }
    void set_layout(TextLayout layout) { m_layout = layout; }
    void set_role(AccessRole role) { m_role = role; }

    Size measure(float available_width, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    void accessibility(std::vector<AccessNode>&) const override;

private:
    std::string m_text;
    TextStyle m_style;
    std::optional<Color> m_color;
    TextLayout m_layout;
    AccessRole m_role = AccessRole::Text;
};

class Button : public Widget {
public:
    enum class Kind { Normal, Accent, Flat };
    Button(std::string id, std::string label, std::function<void()> on_click = {});

    void set_label(std::string label);
    void set_icon(std::optional<Icon> icon);
    void set_kind(Kind kind) { m_kind = kind; }
    void set_enabled(bool enabled);
    bool enabled() const { return m_enabled; }
    void set_description(std::string d) { m_description = std::move(d); }
    // The name assistive technology reads; the label when none is set (icon buttons need one).
    void set_accessible_name(std::string name) { m_accessible_name = std::move(name); }
    void set_on_click(std::function<void()> fn) { m_on_click = std::move(fn); }
    const std::string& label() const { return m_label; }
    const std::string& accessible_name() const { return m_accessible_name.empty() ? m_label : m_accessible_name; }
    // Runs the button's action as a click would (automation, keyboard activation).
    void activate();

    Size measure(float available_width, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    std::string m_label;
    std::optional<Icon> m_icon;
    std::function<void()> m_on_click;
    std::string m_description;
    std::string m_accessible_name;
    Kind m_kind = Kind::Normal;
    bool m_enabled = true;
    bool m_paint_dirty = false;
    PressBehavior m_press;
};

// A fixed-size gap, or a flexible one that takes a share of the leftover height in a Column.
class Spacer : public Widget {
public:
    explicit Spacer(float size = 0, float flex = 0) : m_size(size), m_flex(flex) {}
    Size measure(float available_width, const Theme& theme) override { return {available_width, theme.px(m_size)}; }
    float flex() const { return m_flex; }

private:
    float m_size;
    float m_flex;
};

// Stacks children vertically; children with a flex weight share the height left over.
class Column : public Widget {
public:
    enum class Align { Stretch, Center };
    explicit Column(float spacing = 0, Align align = Align::Stretch) : m_spacing(spacing), m_align(align) {}

    // The column does not own its children unless added with add_owned.
    void add(Widget& child, float flex = 0);
    void add_owned(std::unique_ptr<Widget> child, float flex = 0);
    void clear();
    void set_padding(float padding) { m_padding = padding; }

    Size measure(float available_width, const Theme&) override;
    void layout(const Rect& bounds, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    void draw_overlay(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    void visit_children(const std::function<void(Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    struct Item {
        Widget* widget;
        float flex;
    };
    std::vector<Item> m_items;
    std::vector<std::unique_ptr<Widget>> m_owned;
    float m_spacing;
    Align m_align;
    float m_padding = 0;
    PointerRouter m_router;
};

// A vertical scroll area around one content widget. The content is laid out at its full height
// and shifted by the offset; the offset survives relayout and is clamped when content shrinks.
class Scrollable : public Widget {
public:
    explicit Scrollable(Widget& content);

    float offset_x() const { return 0; }
    float offset_y() const { return m_offset; }
    void set_offset_y(float offset);
    // Scrolls the least amount that shows the content-relative span [top, bottom).
    void scroll_into_view(float top, float bottom);
    float content_height() const { return m_content_height; }
    const Rect& viewport() const { return m_bounds; }
    Widget& content() { return m_content; }

    void layout(const Rect& bounds, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    void visit_children(const std::function<void(Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    float max_offset() const;
    void place_content();
    Rect scrollbar_thumb() const;

    Widget& m_content;
    const Theme* m_theme = nullptr;
    float m_offset = 0;
    float m_content_height = 0;
    float m_gutter = 0;
    bool m_paint_dirty = false;
    bool m_dragging_thumb = false;
    float m_drag_grab = 0;
    bool m_thumb_hovered = false;
};

// A sidebar over content. Wide windows show the sidebar beside the content; below the breakpoint
// the sidebar hides and can be snapped open above the content.
class NavShell : public Widget {
public:
    NavShell(Widget& sidebar, Widget& content);

    void set_sidebar_width(float w) { m_sidebar_width = w; }
    void set_breakpoint(float w) { m_breakpoint = w; }
    bool is_compact() const { return m_compact; }
    bool sidebar_visible() const { return !m_compact || m_snapped_open; }
    void set_snapped_open(bool open);
    const Rect& sidebar_rect() const { return m_sidebar_rect; }
    const Rect& content_rect() const { return m_content_rect; }

    void layout(const Rect& bounds, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    void draw_overlay(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    void visit_children(const std::function<void(Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    Widget& m_sidebar;
    Widget& m_content;
    float m_sidebar_width = 220;
    float m_breakpoint = 720;
    bool m_compact = false;
    bool m_snapped_open = false;
    Rect m_sidebar_rect;
    Rect m_content_rect;
    PointerRouter m_router;
};

// A busy indicator: a rotating arc, animated while it is visible.
class Spinner : public Widget {
public:
    explicit Spinner(float diameter = 28) : m_diameter(diameter) {}
    void set_visible(bool v) { m_visible = v; }
    bool visible() const { return m_visible; }

    void sync(const FrameContext&) override;
    Size measure(float available_width, const Theme& theme) override;
    void draw(Painter&, const Theme&) override;
    bool wants_animation_frame() const override { return m_visible && m_animate; }
    void accessibility(std::vector<AccessNode>&) const override;

private:
    float m_diameter;
    bool m_visible = true;
    bool m_animate = true;
    float m_angle = 0;
};

// A centred placeholder: an icon, a title, a detail line and an optional action button.
class EmptyState : public Widget {
public:
    EmptyState() = default;
    void set(std::optional<Icon> icon, std::string title, std::string detail);
    void set_action(Button* button) { m_action = button; }
    void set_busy(Spinner* spinner) { m_spinner = spinner; }
    const std::string& title() const { return m_title; }
    const std::string& detail() const { return m_detail; }

    void layout(const Rect& bounds, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    void visit_children(const std::function<void(Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    std::optional<Icon> m_icon;
    std::string m_title;
    std::string m_detail;
    Button* m_action = nullptr;
    Spinner* m_spinner = nullptr;
    Rect m_icon_rect, m_title_rect, m_detail_rect;
};

// A transient status line at the bottom of a view. poke() fades it in; it stays for its delay and
// fades out, unless the pointer hovers it. Its accessible node has the role status and the text as
// name, so screen readers announce changes.
class StatusBubble : public Widget {
public:
    static constexpr auto k_fade_in = std::chrono::milliseconds(150);
    static constexpr auto k_hold = std::chrono::milliseconds(3500);
    static constexpr auto k_fade_out = std::chrono::milliseconds(400);

    void set_text(std::string text) { m_text = std::move(text); }
    const std::string& text() const { return m_text; }
    // Shows the bubble from now; a running fade-out turns back.
    void poke(Clock::time_point now);
    // Keeps the bubble shown while the pointer is over it.
    void set_hover(bool hover, Clock::time_point now);
    // Pins the bubble fully shown (screenshots).
    void show_steady() { m_steady = true; }
    bool hovered() const { return m_hover; }
    float opacity() const { return m_opacity; }
    bool visible() const { return m_opacity > 0; }
    // The bubble's own rectangle inside the bounds it was laid out in.
    Rect bubble_rect(const Theme&) const;

    void sync(const FrameContext&) override;
    void draw(Painter&, const Theme&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    bool wants_animation_frame() const override;
    std::optional<Clock::time_point> next_deadline() const override;

private:
    float opacity_at(Clock::time_point now) const;

    std::string m_text;
    std::optional<Clock::time_point> m_shown_at;
    bool m_hover = false;
    bool m_steady = false;
    float m_opacity = 0;
    Clock::time_point m_now{};
};

}
