#include "kavo_ui/widgets.hpp"

#include <algorithm>

namespace kavo_ui {

namespace {
float fraction(Clock::duration part, Clock::duration whole)
{
    return std::clamp(float(part.count()) / float(whole.count()), 0.0f, 1.0f);
}
}

void StatusBubble::poke(Clock::time_point now)
{
    // A bubble that is still (partly) shown turns straight back to full instead of flashing.
    if (m_shown_at && opacity_at(now) > 0)
        m_shown_at = now - k_fade_in;
    else
        m_shown_at = now;
    m_now = now;
    m_opacity = opacity_at(now);
}

void StatusBubble::set_hover(bool hover, Clock::time_point now)
{
    if (hover == m_hover)
        return;
    // Leaving the bubble starts its hold time afresh.
    bool shown = m_shown_at && opacity_at(now) > 0;
    m_hover = hover;
    if (!hover && shown)
        m_shown_at = now - k_fade_in;
}

float StatusBubble::opacity_at(Clock::time_point now) const
{
    if (m_steady)
        return 1;
    if (!m_shown_at)
        return 0;
    auto dt = now - *m_shown_at;
    if (dt < Clock::duration::zero())
        return 0;
    if (dt < k_fade_in)
        return fraction(dt, k_fade_in);
    if (m_hover || dt < k_fade_in + k_hold)
        return 1;
    return 1 - fraction(dt - k_fade_in - k_hold, k_fade_out);
}

void StatusBubble::sync(const FrameContext& ctx)
{
    m_now = ctx.now;
    m_opacity = opacity_at(ctx.now);
    if (m_shown_at && !m_hover && !m_steady && ctx.now - *m_shown_at >= k_fade_in + k_hold + k_fade_out)
        m_shown_at.reset();
}

bool StatusBubble::wants_animation_frame() const
{
    if (m_steady || !m_shown_at || m_hover)
        return false;
    auto dt = m_now - *m_shown_at;
    bool fading_in = dt < k_fade_in;
    bool fading_out = dt >= k_fade_in + k_hold && dt < k_fade_in + k_hold + k_fade_out;
    return fading_in || fading_out;
}

std::optional<Clock::time_point> StatusBubble::next_deadline() const
{
    if (m_steady || !m_shown_at || m_hover)
        return std::nullopt;
    auto fade_out_at = *m_shown_at + k_fade_in + k_hold;
    if (m_now < fade_out_at)
        return fade_out_at;
    return std::nullopt;
}

Rect StatusBubble::bubble_rect(const Theme& theme) const
{
    TextStyle style = theme.scaled(theme.body);
    float pad = theme.px(14);
    float w = std::min(text_width(m_text, style) + 2 * pad, m_bounds.width() - theme.px(24));
    float h = theme.px(32);
    float x = m_bounds.center().x - w / 2;
    float y = m_bounds.bottom - h - theme.px(16);
    return Rect::from_xywh(x, y, std::max(0.0f, w), h);
}

void StatusBubble::draw(Painter& p, const Theme& theme)
{
    if (m_opacity <= 0 || m_text.empty())
        return;
    OpacityScope fade(p, m_opacity);
    Rect r = bubble_rect(theme);
    p.fill_rounded_rect(r.translated(0, theme.px(2)), r.height() / 2, theme.shadow);
    p.fill_rounded_rect(r, r.height() / 2, theme.panel);
    p.stroke_rounded_rect(r, r.height() / 2, theme.border, 1);
    p.draw_text(r.inset(theme.px(14), 0), m_text, theme.scaled(theme.body), theme.text,
                {HAlign::Center, VAlign::Middle, Elide::End});
}

void StatusBubble::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode node;
    node.role = AccessRole::Status;
    node.name = m_text;
    node.bounds = m_bounds;
    out.push_back(std::move(node));
}

}
