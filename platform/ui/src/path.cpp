#include "kavo_ui/painter.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavo_ui {

Path& Path::move_to(Point p)
{
    m_elements.push_back({Verb::Move, p, {}, {}});
    return *this;
}

Path& Path::line_to(Point p)
{
    m_elements.push_back({Verb::Line, p, {}, {}});
    return *this;
}

Path& Path::quad_to(Point control, Point end)
{
    m_elements.push_back({Verb::Quad, control, end, {}});
    return *this;
}

Path& Path::cubic_to(Point c1, Point c2, Point end)
{
    m_elements.push_back({Verb::Cubic, c1, c2, end});
    return *this;
}

Path& Path::close()
{
    m_elements.push_back({Verb::Close, {}, {}, {}});
    return *this;
}

Path& Path::add_rounded_rect(const Rect& r, float radius)
{
    float rr = std::clamp(radius, 0.0f, std::min(r.width(), r.height()) / 2);
    // 0.5523 places cubic control points so each corner approximates a quarter circle.
    float k = rr * 0.4477f;
    move_to({r.left + rr, r.top});
    line_to({r.right - rr, r.top});
    cubic_to({r.right - k, r.top}, {r.right, r.top + k}, {r.right, r.top + rr});
    line_to({r.right, r.bottom - rr});
    cubic_to({r.right, r.bottom - k}, {r.right - k, r.bottom}, {r.right - rr, r.bottom});
    line_to({r.left + rr, r.bottom});
    cubic_to({r.left + k, r.bottom}, {r.left, r.bottom - k}, {r.left, r.bottom - rr});
    line_to({r.left, r.top + rr});
    cubic_to({r.left, r.top + k}, {r.left + k, r.top}, {r.left + rr, r.top});
    return close();
}

Path& Path::add_ellipse(const Rect& r)
{
    arc(r, 0, 360);
    return close();
}

Path& Path::arc(const Rect& r, float start_degrees, float sweep_degrees)
{
    Point c = r.center();
    float rx = r.width() / 2, ry = r.height() / 2;
    int segments = std::max(1, int(std::ceil(std::abs(sweep_degrees) / 90.0f)));
    float step = sweep_degrees / float(segments) * std::numbers::pi_v<float> / 180.0f;
    float a = start_degrees * std::numbers::pi_v<float> / 180.0f;
    auto at = [&](float angle) { return Point{c.x + rx * std::cos(angle), c.y - ry * std::sin(angle)}; };
    if (m_elements.empty() || m_elements.back().verb == Verb::Close)
        move_to(at(a));
    else
        line_to(at(a));
    float k = 4.0f / 3.0f * std::tan(step / 4);
    for (int i = 0; i < segments; ++i) {
        float a0 = a + step * float(i), a1 = a0 + step;
        Point p0 = at(a0), p1 = at(a1);
        Point c1{p0.x - k * rx * std::sin(a0), p0.y - k * ry * std::cos(a0)};
        Point c2{p1.x + k * rx * std::sin(a1), p1.y + k * ry * std::cos(a1)};
        cubic_to(c1, c2, p1);
    }
    return *this;
}

}
