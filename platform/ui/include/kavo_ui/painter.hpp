#pragma once

#include "kavo_ui/geometry.hpp"
#include "kavo_ui/image.hpp"
#include "kavo_ui/text.hpp"

#include <string_view>
#include <vector>

namespace kavo_ui {

class Path {
public:
    enum class Verb { Move, Line, Quad, Cubic, Close };
    struct Element {
        Verb verb;
        Point p1, p2, p3;
    };

    Path& move_to(Point p);
    Path& line_to(Point p);
    Path& quad_to(Point control, Point end);
    Path& cubic_to(Point c1, Point c2, Point end);
    Path& close();
    Path& add_rounded_rect(const Rect& r, float radius);
    Path& add_ellipse(const Rect& r);
    // An arc of the ellipse inscribed in r, angles in degrees, counter-clockwise from 3 o'clock.
    Path& arc(const Rect& r, float start_degrees, float sweep_degrees);

    const std::vector<Element>& elements() const { return m_elements; }
    bool empty() const { return m_elements.empty(); }

private:
    std::vector<Element> m_elements;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

struct TextLayout {
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Middle;
    Elide elide = Elide::End;
    bool underline = false;
};

// The drawing surface handed to widgets. Coordinates are window coordinates in logical pixels.
class Painter {
public:
    virtual ~Painter() = default;

    virtual void fill_rect(const Rect& r, Color c) = 0;
    virtual void fill_rounded_rect(const Rect& r, float radius, Color c) = 0;
    virtual void stroke_rounded_rect(const Rect& r, float radius, Color c, float width) = 0;
    virtual void draw_line(Point a, Point b, Color c, float width) = 0;
    virtual void fill_path(const Path& path, Color c) = 0;
    virtual void stroke_path(const Path& path, Color c, float width) = 0;
    // Single-line text placed in r; elided to r's width unless layout.elide is None.
    virtual void draw_text(const Rect& r, std::string_view text, const TextStyle& style, Color c,
                           const TextLayout& layout = {}) = 0;
    // The image scaled to cover r (cropped, aspect kept), with rounded corners when radius > 0.
    virtual void draw_image_cover(const Rect& r, const Image& image, float radius = 0) = 0;

    // Clips and opacity nest; every push has its pop.
    virtual void push_clip(const Rect& r) = 0;
    virtual void pop_clip() = 0;
    virtual void push_opacity(float opacity) = 0;
    virtual void pop_opacity() = 0;
    // The current clip in window coordinates, so widgets can skip what cannot show.
    virtual Rect clip_bounds() const = 0;
};

// RAII helpers for the nesting operations.
class ClipScope {
public:
    ClipScope(Painter& p, const Rect& r) : m_painter(p) { m_painter.push_clip(r); }
    ~ClipScope() { m_painter.pop_clip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    Painter& m_painter;
};

class OpacityScope {
public:
    OpacityScope(Painter& p, float opacity) : m_painter(p) { m_painter.push_opacity(opacity); }
    ~OpacityScope() { m_painter.pop_opacity(); }
    OpacityScope(const OpacityScope&) = delete;
    OpacityScope& operator=(const OpacityScope&) = delete;

private:
    Painter& m_painter;
};

}
