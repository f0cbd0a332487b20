#pragma once

#include "kavo_ui/painter.hpp"
#include "kavo_ui/theme.hpp"
#include "kavo_ui/widget.hpp"

#include <QImage>
#include <QPainter>

#include <vector>

namespace kavo_ui::backend {

// The one Painter implementation; the window and screenshot frames both draw through it.
class QtPainter final : public Painter {
public:
    explicit QtPainter(QPainter& painter, Rect device_bounds);

    void fill_rect(const Rect& r, Color c) override;
    void fill_rounded_rect(const Rect& r, float radius, Color c) override;
    void stroke_rounded_rect(const Rect& r, float radius, Color c, float width) override;
    void draw_line(Point a, Point b, Color c, float width) override;
    void fill_path(const Path& path, Color c) override;
    void stroke_path(const Path& path, Color c, float width) override;
    void draw_text(const Rect& r, std::string_view text, const TextStyle& style, Color c, const TextLayout& layout) override;
    void draw_image_cover(const Rect& r, const Image& image, float radius) override;
    void push_clip(const Rect& r) override;
    void pop_clip() override;
    void push_opacity(float opacity) override;
    void pop_opacity() override;
    Rect clip_bounds() const override { return m_clips.back(); }

private:
    QPainter& m_p;
    std::vector<Rect> m_clips;
};

// Draws a root widget the way every frame does: background, content, then the overlay layer.
void paint_root(QPainter& qp, Widget& root, const Theme& theme, Size size, bool with_overlay = true);

}
