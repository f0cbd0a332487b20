#include "kavo_ui/widgets.hpp"

namespace kavo_ui {

void EmptyState::set(std::optional<Icon> icon, std::string title, std::string detail)
{
    m_icon = icon;
    m_title = std::move(title);
    m_detail = std::move(detail);
}

void EmptyState::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    float icon = m_icon ? theme.px(56) : 0;
    float gap = theme.px(12);
    float title_h = line_height(theme.scaled(theme.title));
    float detail_h = m_detail.empty() ? 0 : line_height(theme.scaled(theme.body));
    float spinner_h = 0;
    if (m_spinner && m_spinner->visible())
        spinner_h = m_spinner->measure(bounds.width(), theme).height;
    float button_h = m_action ? theme.px(32) : 0;
    float total = icon + (icon ? gap : 0) + spinner_h + (spinner_h ? gap : 0) + title_h + (detail_h ? theme.px(4) + detail_h : 0)
        + (button_h ? theme.px(16) + button_h : 0);
    float y = bounds.center().y - total / 2;
    float cx = bounds.center().x;
    float text_w = std::max(0.0f, bounds.width() - theme.px(48));
    m_icon_rect = Rect::from_xywh(cx - icon / 2, y, icon, icon);
    y += icon + (icon ? gap : 0);
    if (spinner_h) {
        m_spinner->layout(Rect::from_xywh(cx - spinner_h / 2, y, spinner_h, spinner_h), theme);
        y += spinner_h + gap;
    }
    m_title_rect = Rect::from_xywh(cx - text_w / 2, y, text_w, title_h);
    y += title_h;
    if (detail_h) {
        y += theme.px(4);
        m_detail_rect = Rect::from_xywh(cx - text_w / 2, y, text_w, detail_h);
        y += detail_h;
    } else {
        m_detail_rect = {};
    }
    if (m_action) {
        y += theme.px(16);
        float w = m_action->measure(bounds.width(), theme).width;
        m_action->layout(Rect::from_xywh(cx - w / 2, y, w, button_h), theme);
    }
}

void EmptyState::draw(Painter& p, const Theme& theme)
{
    if (m_icon)
        draw_icon(p, *m_icon, m_icon_rect, theme.text_muted);
    if (m_spinner)
        m_spinner->draw(p, theme);
    p.draw_text(m_title_rect, m_title, theme.scaled(theme.title), theme.text, {HAlign::Center, VAlign::Middle, Elide::End});
    if (!m_detail.empty())
        p.draw_text(m_detail_rect, m_detail, theme.scaled(theme.body), theme.text_muted,
                    {HAlign::Center, VAlign::Middle, Elide::Middle});
    if (m_action)
        m_action->draw(p, theme);
}

EventResult EmptyState::handle_event(const Event& e)
{
    return m_action ? m_action->handle_event(e) : EventResult::Ignored;
}

void EmptyState::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode node;
    node.role = AccessRole::Group;
    node.name = m_title;
    node.description = m_detail;
    node.bounds = m_bounds;
    if (m_spinner && m_spinner->visible())
        node.states |= k_state_busy;
    if (m_action)
        m_action->accessibility(node.children);
    out.push_back(std::move(node));
}

void EmptyState::visit_children(const std::function<void(Widget&)>& fn)
{
    if (m_spinner)
        fn(*m_spinner);
    if (m_action)
        fn(*m_action);
}

bool EmptyState::take_paint_dirty() { return m_action && m_action->take_paint_dirty(); }

}
