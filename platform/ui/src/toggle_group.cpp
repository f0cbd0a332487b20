#include "kavo_ui/toggle_group.hpp"

namespace kavo_ui {

ToggleGroup::ToggleGroup(std::string id, std::string label, std::vector<Segment> segments)
    : m_label(std::move(label)), m_segments(std::move(segments)), m_press(m_segments.size())
{
    m_id = std::move(id);
}

void ToggleGroup::set_selected(size_t index)
{
    if (index >= m_segments.size() || index == m_selected)
        return;
    m_selected = index;
    m_paint_dirty = true;
}

void ToggleGroup::set_icons_only(bool icons_only)
{
    if (m_icons_only == icons_only)
        return;
    m_icons_only = icons_only;
    m_paint_dirty = true;
}

void ToggleGroup::set_focused(bool focused)
{
    if (m_focused == focused)
        return;
    m_focused = focused;
    m_paint_dirty = true;
}

void ToggleGroup::choose(size_t index)
{
    // Picking the segment that is already selected changes nothing and reports nothing.
    if (index >= m_segments.size() || index == m_selected)
        return;
    m_selected = index;
    m_chosen = index;
    m_paint_dirty = true;
}

Rect ToggleGroup::segment_rect(size_t index) const
{
    if (index >= m_segments.size())
        return {};
    float w = m_bounds.width() / float(m_segments.size());
    return {m_bounds.left + w * float(index), m_bounds.top, m_bounds.left + w * float(index + 1), m_bounds.bottom};
}

Size ToggleGroup::measure(float, const Theme& theme)
{
    TextStyle style = theme.scaled(theme.body_strong);
    float widest = 0;
    for (const auto& s : m_segments) {
        float w = theme.px(36);
        if (shows_label(s))
            w = std::max(w, text_width(s.label, style) + theme.px(s.icon ? 48 : 24));
        widest = std::max(widest, w);
    }
    return {widest * float(m_segments.size()), theme.px(32)};
}

void ToggleGroup::draw(Painter& p, const Theme& theme)
{
    float radius = theme.px(6);
    p.fill_rounded_rect(m_bounds, radius, theme.surface_raised);
    TextStyle style = theme.scaled(theme.body_strong);
    for (size_t i = 0; i < m_segments.size(); ++i) {
        const Segment& s = m_segments[i];
        Rect r = segment_rect(i);
        Rect fill = r.inset(theme.px(2));
        bool selected = i == m_selected;
        if (selected)
            p.fill_rounded_rect(fill, theme.px(4), theme.accent);
        else if (m_press[i].pressed())
            p.fill_rounded_rect(fill, theme.px(4), theme.pressed);
        else if (m_press[i].hovered())
            p.fill_rounded_rect(fill, theme.px(4), theme.hover);
        // A divider between two segments that are both unselected.
        if (i > 0 && !selected && i - 1 != m_selected)
            p.draw_line({r.left, r.top + theme.px(8)}, {r.left, r.bottom - theme.px(8)}, theme.border, theme.px(1));

        Color ink = selected ? theme.accent_text : theme.text;
        bool label = shows_label(s);
        float icon_size = theme.px(18);
        float gap = theme.px(6);
        float content = (s.icon ? icon_size : 0) + (label ? text_width(s.label, style) : 0) + (s.icon && label ? gap : 0);
        float x = std::max(r.left + theme.px(8), r.center().x - content / 2);
        if (s.icon) {
            draw_icon(p, *s.icon, Rect::from_xywh(x, r.center().y - icon_size / 2, icon_size, icon_size), ink);
            x += icon_size + gap;
        }
        if (label)
            p.draw_text({x, r.top, r.right - theme.px(8), r.bottom}, s.label, style, ink);
    }
    if (m_focused)
        p.stroke_rounded_rect(m_bounds.inset(-theme.px(2)), radius + theme.px(2), theme.focus_ring, theme.px(2));
}

EventResult ToggleGroup::handle_event(const Event& e)
{
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        std::optional<size_t> activated;
        for (size_t i = 0; i < m_segments.size(); ++i) {
            auto result = m_press[i].handle(*pointer, segment_rect(i));
            if (result != PressBehavior::Result::None)
                m_paint_dirty = true;
            if (result == PressBehavior::Result::Activated)
                activated = i;
        }
        if (activated)
            choose(*activated);
        bool takes = pointer->action == PointerAction::Down || pointer->action == PointerAction::Up;
        return takes && m_bounds.contains(pointer->position) ? EventResult::Handled : EventResult::Ignored;
    }
    auto* key = std::get_if<KeyEvent>(&e);
    if (!key || !m_focused || m_segments.empty() || key->modifiers != Modifiers{})
        return EventResult::Ignored;
    size_t last = m_segments.size() - 1;
    switch (key->key) {
    case Key::Left: choose(m_selected > 0 ? m_selected - 1 : 0); return EventResult::Handled;
    case Key::Right: choose(std::min(m_selected + 1, last)); return EventResult::Handled;
    case Key::Home: choose(0); return EventResult::Handled;
    case Key::End: choose(last); return EventResult::Handled;
    default: return EventResult::Ignored;
    }
}

void ToggleGroup::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode group;
    group.role = AccessRole::Group;
    group.name = m_label;
    group.bounds = m_bounds;
    for (size_t i = 0; i < m_segments.size(); ++i) {
        AccessNode segment;
        segment.role = AccessRole::Toggle;
        segment.name = m_segments[i].label;
        segment.bounds = segment_rect(i);
        segment.position = {{i + 1, m_segments.size()}};
        if (i == m_selected) {
            segment.states |= k_state_checked;
            if (m_focused)
                segment.states |= k_state_focused;
        }
        segment.actions = {"press"};
        group.children.push_back(std::move(segment));
    }
    out.push_back(std::move(group));
}

}
