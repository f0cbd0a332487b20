#include "kavo_ui/widgets.hpp"

#include <algorithm>

namespace kavo_ui {

namespace {
constexpr float k_wheel_step = 48;  // logical pixels per wheel notch
constexpr float k_bar_width = 8;
constexpr float k_min_thumb = 24;
}

Scrollable::Scrollable(Widget& content) : m_content(content) {}

float Scrollable::max_offset() const { return std::max(0.0f, m_content_height - m_bounds.height()); }

void Scrollable::set_offset_y(float offset)
{
    float clamped = std::clamp(offset, 0.0f, max_offset());
    if (clamped == m_offset)
        return;
    m_offset = clamped;
    m_paint_dirty = true;
    if (m_theme)
        place_content();
}

void Scrollable::scroll_into_view(float top, float bottom)
{
    float h = m_bounds.height();
    if (top < m_offset)
        set_offset_y(top);
    else if (bottom > m_offset + h)
        set_offset_y(bottom - h);
}

void Scrollable::place_content()
{
    Rect r{m_bounds.left, m_bounds.top - m_offset, m_bounds.right - m_gutter, m_bounds.top - m_offset + m_content_height};
    m_content.layout(r, *m_theme);
}

void Scrollable::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_theme = &theme;
    // Content that overflows gives up a gutter for the scroll bar, so the bar never covers it.
    m_gutter = 0;
    float height = m_content.measure(bounds.width(), theme).height;
    if (height > bounds.height()) {
        m_gutter = theme.px(k_bar_width + 4);
        height = m_content.measure(bounds.width() - m_gutter, theme).height;
    }
    m_content_height = std::max(bounds.height(), height);
    // The offset is kept across relayout and only clamped when the content got shorter.
    m_offset = std::clamp(m_offset, 0.0f, max_offset());
    place_content();
}

Rect Scrollable::scrollbar_thumb() const
{
    if (!m_theme || max_offset() <= 0)
        return {};
    float track = m_bounds.height();
    float thumb = std::max(m_theme->px(k_min_thumb), track * track / m_content_height);
    float top = m_bounds.top + (track - thumb) * (m_offset / max_offset());
    float w = m_theme->px(k_bar_width);
    return {m_bounds.right - w - m_theme->px(2), top, m_bounds.right - m_theme->px(2), top + thumb};
}

void Scrollable::draw(Painter& p, const Theme& theme)
{
    {
        ClipScope clip(p, m_bounds);
        m_content.draw(p, theme);
    }
    Rect thumb = scrollbar_thumb();
    if (!thumb.is_empty())
        p.fill_rounded_rect(thumb, thumb.width() / 2,
                            m_thumb_hovered || m_dragging_thumb ? theme.text_muted : theme.scrollbar);
}

EventResult Scrollable::handle_event(const Event& e)
{
    if (auto* wheel = std::get_if<WheelEvent>(&e)) {
        if (!m_bounds.contains(wheel->position))
            return EventResult::Ignored;
        // The content sees the wheel first (it may zoom with Primary held).
        if (m_content.handle_event(e) == EventResult::Handled)
            return EventResult::Handled;
        float step = m_theme ? m_theme->px(k_wheel_step) : k_wheel_step;
        set_offset_y(m_offset - wheel->dy * step);
        return EventResult::Handled;
    }
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        Rect thumb = scrollbar_thumb();
        bool on_thumb = !thumb.is_empty() && thumb.inset(-2, 0).contains(pointer->position);
        if (pointer->action == PointerAction::Down && pointer->button == PointerButton::Primary && on_thumb) {
            m_dragging_thumb = true;
            m_drag_grab = pointer->position.y - thumb.top;
            m_paint_dirty = true;
            return EventResult::Handled;
        }
        if (m_dragging_thumb) {
            if (pointer->action == PointerAction::Up) {
                m_dragging_thumb = false;
                m_paint_dirty = true;
            } else if (pointer->action == PointerAction::Move) {
                float travel = m_bounds.height() - thumb.height();
                if (travel > 0)
                    set_offset_y((pointer->position.y - m_drag_grab - m_bounds.top) / travel * max_offset());
            }
            return EventResult::Handled;
        }
        if (on_thumb != m_thumb_hovered) {
            m_thumb_hovered = on_thumb;
            m_paint_dirty = true;
        }
        bool inside = m_bounds.contains(pointer->position);
        if (!inside && pointer->action == PointerAction::Down)
            return EventResult::Ignored;
        if (!inside && pointer->action == PointerAction::Move) {
            PointerEvent leave = *pointer;
            leave.action = PointerAction::Leave;
            return m_content.handle_event(leave);
        }
        return m_content.handle_event(e);
    }
    return m_content.handle_event(e);
}

void Scrollable::accessibility(std::vector<AccessNode>& out) const { m_content.accessibility(out); }

void Scrollable::visit_children(const std::function<void(Widget&)>& fn) { fn(m_content); }

bool Scrollable::take_paint_dirty()
{
    bool dirty = std::exchange(m_paint_dirty, false);
    return m_content.take_paint_dirty() || dirty;
}

}
