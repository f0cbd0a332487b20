#include "files_app/content_column.hpp"

namespace files::app {

using namespace kavo_ui;

namespace {
constexpr float k_header_height = 48;
}

ContentColumn::ContentColumn(Scrollable& scroll, EmptyState& placeholder, StatusBubble& bubble)
    : m_scroll(scroll), m_placeholder(placeholder), m_bubble(bubble)
{
}

void ContentColumn::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_header = {bounds.left, bounds.top, bounds.right, std::min(bounds.bottom, bounds.top + theme.px(k_header_height))};
    m_body = {bounds.left, m_header.bottom, bounds.right, bounds.bottom};
    if (view_in_tree())
        m_scroll.layout(m_body, theme);
    if (placeholder_shown())
        m_placeholder.layout(m_body, theme);
    m_bubble.layout(m_body, theme);
}

void ContentColumn::draw(Painter& p, const Theme& theme)
{
    p.draw_text(m_header.inset(theme.px(16), 0), m_title, theme.scaled(theme.title), theme.text,
                {HAlign::Left, VAlign::Middle, Elide::Middle});
    p.draw_line({m_header.left, m_header.bottom - 0.5f}, {m_header.right, m_header.bottom - 0.5f}, theme.border, 1);
    if (view_in_tree())
        m_scroll.draw(p, theme);
    if (placeholder_shown())
        m_placeholder.draw(p, theme);
}

void ContentColumn::draw_overlay(Painter& p, const Theme& theme)
{
    if (view_in_tree())
        m_scroll.draw_overlay(p, theme);
    m_bubble.draw(p, theme);
}

EventResult ContentColumn::handle_event(const Event& e)
{
    if (placeholder_shown() && m_placeholder.handle_event(e) == EventResult::Handled)
        return EventResult::Handled;
    return view_in_tree() ? m_scroll.handle_event(e) : EventResult::Ignored;
}

void ContentColumn::accessibility(std::vector<AccessNode>& out) const
{
    if (placeholder_shown())
        m_placeholder.accessibility(out);
    if (view_in_tree())
        m_scroll.accessibility(out);
    m_bubble.accessibility(out);
}

void ContentColumn::visit_children(const std::function<void(Widget&)>& fn)
{
    if (view_in_tree())
        fn(m_scroll);
    if (placeholder_shown())
        fn(m_placeholder);
    fn(m_bubble);
}

bool ContentColumn::take_paint_dirty()
{
    bool view = view_in_tree() && m_scroll.take_paint_dirty();
    bool placeholder = placeholder_shown() && m_placeholder.take_paint_dirty();
    return view || placeholder;
}

}
