#include "kavo_ui/widgets.hpp"

namespace kavo_ui {

NavShell::NavShell(Widget& sidebar, Widget& content) : m_sidebar(sidebar), m_content(content) {}

void NavShell::set_snapped_open(bool open) { m_snapped_open = open; }

void NavShell::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_compact = bounds.width() < theme.px(m_breakpoint);
    float w = std::min(theme.px(m_sidebar_width), bounds.width());
    m_sidebar_rect = {bounds.left, bounds.top, bounds.left + w, bounds.bottom};
    // Compact: the content takes the whole width and an opened sidebar floats above it.
    m_content_rect = m_compact ? bounds : Rect{m_sidebar_rect.right, bounds.top, bounds.right, bounds.bottom};
    m_content.layout(m_content_rect, theme);
    // Laid out even while hidden, so snapping it open shows it at once.
    m_sidebar.layout(m_sidebar_rect, theme);
}

void NavShell::draw(Painter& p, const Theme& theme)
{
    p.fill_rect(m_content_rect, theme.surface);
    m_content.draw(p, theme);
    if (!m_compact) {
        p.fill_rect(m_sidebar_rect, theme.sidebar_background);
        p.draw_line({m_sidebar_rect.right - 0.5f, m_bounds.top}, {m_sidebar_rect.right - 0.5f, m_bounds.bottom},
                    theme.border, 1);
        m_sidebar.draw(p, theme);
    }
}

void NavShell::draw_overlay(Painter& p, const Theme& theme)
{
    if (m_compact && m_snapped_open) {
        p.fill_rect(m_bounds, theme.shadow.with_alpha(0.5f));
        p.fill_rect(m_sidebar_rect, theme.sidebar_background);
        m_sidebar.draw(p, theme);
    }
    m_content.draw_overlay(p, theme);
    if (sidebar_visible())
        m_sidebar.draw_overlay(p, theme);
}

EventResult NavShell::handle_event(const Event& e)
{
    if (m_compact && m_snapped_open) {
        // The snapped-open sidebar is modal over the content; a press beside it closes it.
        auto* pointer = std::get_if<PointerEvent>(&e);
        if (pointer && pointer->action == PointerAction::Down && !m_sidebar_rect.contains(pointer->position)) {
            m_snapped_open = false;
            return EventResult::Handled;
        }
        return m_sidebar.handle_event(e);
    }
    std::vector<Widget*> children{&m_content};
    if (sidebar_visible())
        children.push_back(&m_sidebar);
    return m_router.route(e, children);
}

void NavShell::accessibility(std::vector<AccessNode>& out) const
{
    if (sidebar_visible())
        m_sidebar.accessibility(out);
    m_content.accessibility(out);
}

void NavShell::visit_children(const std::function<void(Widget&)>& fn)
{
    fn(m_sidebar);
    fn(m_content);
}

bool NavShell::take_paint_dirty()
{
    bool a = m_sidebar.take_paint_dirty();
    bool b = m_content.take_paint_dirty();
    return a || b;
}

}
