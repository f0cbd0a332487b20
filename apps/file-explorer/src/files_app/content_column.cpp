#include "files_app/content_column.hpp"

namespace files::app {

using namespace kavo_ui;

namespace {
constexpr float k_header_height = 48;
}

ContentColumn::ContentColumn(Widget& header, Scrollable& scroll, EmptyState& placeholder, StatusBubble& bubble)
    : m_header_widget(header), m_scroll(scroll), m_placeholder(placeholder), m_bubble(bubble)
{
}

void ContentColumn::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_header = {bounds.left, bounds.top, bounds.right, std::min(bounds.bottom, bounds.top + theme.px(k_header_height))};
    m_body = {bounds.left, m_header.bottom, bounds.right, bounds.bottom};
    m_header_widget.layout(m_header, theme);
    if (view_in_tree())
        m_scroll.layout(m_body, theme);
    if (placeholder_shown())
        m_placeholder.layout(m_body, theme);
    m_bubble.layout(m_body, theme);
}

void ContentColumn::draw(Painter& p, const Theme& theme)
{
    m_header_widget.draw(p, theme);
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
    m_header_widget.draw_overlay(p, theme);
}

EventResult ContentColumn::handle_event(const Event& e)
{
    if (m_header_widget.handle_event(e) == EventResult::Handled)
        return EventResult::Handled;
    if (placeholder_shown() && m_placeholder.handle_event(e) == EventResult::Handled)
        return EventResult::Handled;
    return view_in_tree() ? m_scroll.handle_event(e) : EventResult::Ignored;
}

void ContentColumn::accessibility(std::vector<AccessNode>& out) const
{
    m_header_widget.accessibility(out);
    if (placeholder_shown())
        m_placeholder.accessibility(out);
    if (view_in_tree())
        m_scroll.accessibility(out);
    m_bubble.accessibility(out);
}

void ContentColumn::visit_children(const std::function<void(Widget&)>& fn)
{
    fn(m_header_widget);
    if (view_in_tree())
        fn(m_scroll);
    if (placeholder_shown())
        fn(m_placeholder);
    fn(m_bubble);
}

bool ContentColumn::take_paint_dirty()
{
    bool header = m_header_widget.take_paint_dirty();
    bool view = view_in_tree() && m_scroll.take_paint_dirty();
    bool placeholder = placeholder_shown() && m_placeholder.take_paint_dirty();
    return header || view || placeholder;
}

}
