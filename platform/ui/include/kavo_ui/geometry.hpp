#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kavo_ui {

// Geometry is in logical pixels multiplied by the UI scale.
struct Point {
    float x = 0;
    float y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    float width = 0;
    float height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;

    static constexpr Rect from_xywh(float x, float y, float w, float h) { return {x, y, x + w, y + h}; }

    constexpr float width() const { return right - left; }
    constexpr float height() const { return bottom - top; }
    constexpr Size size() const { return {width(), height()}; }
    constexpr Point center() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool is_empty() const { return !(left < right && top < bottom); }
    bool is_finite() const
    {
        return std::isfinite(left) && std::isfinite(top) && std::isfinite(right) && std::isfinite(bottom);
    }
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr bool intersects(const Rect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    constexpr Rect inset(float dx, float dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
    constexpr Rect inset(float d) const { return inset(d, d); }
    constexpr Rect translated(float dx, float dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect intersected(const Rect& o) const
    {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.right < r.left)
            r.right = r.left;
        if (r.bottom < r.top)
            r.bottom = r.top;
        return r;
    }
    bool operator==(const Rect&) const = default;
};

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    static constexpr Color rgb(uint32_t hex)
    {
        return {uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex), 255};
    }
    static constexpr Color rgba(uint32_t hex)
    {
        return {uint8_t(hex >> 24), uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex)};
    }
    constexpr Color with_alpha(float alpha) const
    {
        float v = std::clamp(alpha, 0.0f, 1.0f) * float(a);
        return {r, g, b, uint8_t(v + 0.5f)};
    }
    bool operator==(const Color&) const = default;
};

}
