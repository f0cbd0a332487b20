#include "kavo_ui/widgets.hpp"

namespace kavo_ui {

Button::Button(std::string id, std::string label, std::function<void()> on_click)
    : m_label(std::move(label)), m_on_click(std::move(on_click))
{
    m_id = std::move(id);
}

void Button::set_label(std::string label)
{
    if (m_label == label)
        return;
    m_label = std::move(label);
    m_paint_dirty = true;
}

void Button::set_icon(std::optional<Icon> icon)
{
    if (m_icon == icon)
        return;
    m_icon = icon;
    m_paint_dirty = true;
}

void Button::set_enabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    m_press.reset();
    m_paint_dirty = true;
}

void Button::activate()
{
    if (m_enabled && m_on_click)
        m_on_click();
}

Size Button::measure(float, const Theme& theme)
{
    float w = theme.px(28);
    if (!m_label.empty())
        w = text_width(m_label, theme.scaled(theme.body_strong)) + theme.px(m_icon ? 44 : 28);
    return {w, theme.px(32)};
}

void Button::draw(Painter& p, const Theme& theme)
{
    Color fill = m_kind == Kind::Accent ? theme.accent : m_kind == Kind::Flat ? Color{0, 0, 0, 0} : theme.surface_raised;
    if (m_enabled && m_press.pressed())
        fill = m_kind == Kind::Accent ? theme.focus_ring : theme.pressed;
    else if (m_enabled && m_press.hovered() && m_kind != Kind::Accent)
        fill = m_kind == Kind::Flat ? theme.hover : theme.border;
    if (fill.a)
        p.fill_rounded_rect(m_bounds, theme.px(6), fill);

    Color ink = !m_enabled ? theme.text_disabled : m_kind == Kind::Accent ? theme.accent_text : theme.text;
    Rect content = m_bounds.inset(theme.px(10), 0);
    if (m_icon) {
        float s = theme.px(18);
        float x = m_label.empty() ? m_bounds.center().x - s / 2 : content.left;
        draw_icon(p, *m_icon, Rect::from_xywh(x, m_bounds.center().y - s / 2, s, s), ink);
        content.left = x + s + theme.px(6);
    }
    if (!m_label.empty())
        p.draw_text(content, m_label, theme.scaled(theme.body_strong), ink,
                    {m_icon ? HAlign::Left : HAlign::Center, VAlign::Middle, Elide::End});
}

EventResult Button::handle_event(const Event& e)
{
    auto* pointer = std::get_if<PointerEvent>(&e);
    if (!pointer || !m_enabled)
        return EventResult::Ignored;
    auto result = m_press.handle(*pointer, m_bounds);
    if (result != PressBehavior::Result::None)
        m_paint_dirty = true;
    if (result == PressBehavior::Result::Activated)
        activate();  // last: the callback may change or even replace the button's owner state
    bool inside = m_bounds.contains(pointer->position);
    return inside && pointer->action != PointerAction::Move && pointer->action != PointerAction::Leave
        ? EventResult::Handled
        : EventResult::Ignored;
}

void Button::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode node;
    node.role = AccessRole::Button;
    node.name = m_accessible_name.empty() ? m_label : m_accessible_name;
    node.description = m_description == node.name ? std::string() : m_description;
    node.bounds = m_bounds;
    if (!m_enabled)
        node.states |= k_state_disabled;
    node.actions = {"press"};
    out.push_back(std::move(node));
}

}
