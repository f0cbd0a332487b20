#include "kavo_ui/widgets.hpp"

#include <chrono>
#include <cmath>

namespace kavo_ui {

void Spinner::sync(const FrameContext& ctx)
{
    m_animate = ctx.theme.animations;
    using namespace std::chrono;
    // One turn per second, derived from the clock so frame rate does not change the speed.
    auto ms = duration_cast<milliseconds>(ctx.now.time_since_epoch()).count() % 1000;
    m_angle = m_animate ? float(ms) * 0.36f : 90.0f;
}

Size Spinner::measure(float, const Theme& theme) { return {theme.px(m_diameter), theme.px(m_diameter)}; }

void Spinner::draw(Painter& p, const Theme& theme)
{
    if (!m_visible)
        return;
    float d = std::min(theme.px(m_diameter), std::min(m_bounds.width(), m_bounds.height()));
    Rect circle = Rect::from_xywh(m_bounds.center().x - d / 2, m_bounds.center().y - d / 2, d, d).inset(theme.px(2));
    Path track;
    track.add_ellipse(circle);
    p.stroke_path(track, theme.border, theme.px(3));
    Path arc;
    arc.arc(circle, -m_angle, 100);
    p.stroke_path(arc, theme.accent, theme.px(3));
}

void Spinner::accessibility(std::vector<AccessNode>& out) const
{
    if (!m_visible)
        return;
    AccessNode node;
    node.role = AccessRole::Image;
    node.bounds = m_bounds;
    node.states = k_state_busy;
    out.push_back(std::move(node));
}

}
