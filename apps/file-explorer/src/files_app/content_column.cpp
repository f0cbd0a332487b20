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

Widget& ContentColumn::body() const
{
    return m_show_placeholder ? static_cast<Widget&>(m_placeholder) : static_cast<Widget&>(m_scroll);
}

void ContentColumn::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_header = {bounds.left, bounds.top, bounds.right, std::min(bounds.bottom, bounds.top + theme.px(k_header_height))};
    m_body = {bounds.left, m_header.bottom, bounds.right, bounds.bottom};
    body().layout(m_body, theme);
    m_bubble.layout(m_body, theme);
}

void ContentColumn::draw(Painter& p, const Theme& theme)
{
    p.draw_text(m_header.inset(theme.px(16), 0), m_title, theme.scaled(theme.title), theme.text,
                {HAlign::Left, VAlign::Middle, Elide::Middle});
    p.draw_line({m_header.left, m_header.bottom - 0.5f}, {m_header.right, m_header.bottom - 0.5f}, theme.border, 1);
    body().draw(p, theme);
}

void ContentColumn::draw_overlay(Painter& p, const Theme& theme)
{
    body().draw_overlay(p, theme);
    m_bubble.draw(p, theme);
}

EventResult ContentColumn::handle_event(const Event& e) { return body().handle_event(e); }

void ContentColumn::accessibility(std::vector<AccessNode>& out) const
{
    body().accessibility(out);
    m_bubble.accessibility(out);
}

void ContentColumn::visit_children(const std::function<void(Widget&)>& fn)
{
    fn(body());
    fn(m_bubble);
}

bool ContentColumn::take_paint_dirty() { return body().take_paint_dirty(); }

}
