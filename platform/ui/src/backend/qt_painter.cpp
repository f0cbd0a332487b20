#include "backend/qt_painter.hpp"

#include "backend/gui_app.hpp"
#include "kavo_ui/widget.hpp"

#include <QPainterPath>

namespace kavo_ui::backend {

namespace {

QColor qcolor(Color c) { return QColor(c.r, c.g, c.b, c.a); }
QRectF qrect(const Rect& r) { return QRectF(r.left, r.top, r.width(), r.height()); }
QPointF qpoint(Point p) { return QPointF(p.x, p.y); }

QPainterPath qpath(const Path& path)
{
    QPainterPath out;
    for (const auto& e : path.elements()) {
        switch (e.verb) {
        case Path::Verb::Move: out.moveTo(qpoint(e.p1)); break;
        case Path::Verb::Line: out.lineTo(qpoint(e.p1)); break;
        case Path::Verb::Quad: out.quadTo(qpoint(e.p1), qpoint(e.p2)); break;
        case Path::Verb::Cubic: out.cubicTo(qpoint(e.p1), qpoint(e.p2), qpoint(e.p3)); break;
        case Path::Verb::Close: out.closeSubpath(); break;
        }
    }
    return out;
}

}

QtPainter::QtPainter(QPainter& painter, Rect device_bounds) : m_p(painter)
{
    m_clips.push_back(device_bounds);
    m_p.setRenderHint(QPainter::Antialiasing, true);
    m_p.setRenderHint(QPainter::TextAntialiasing, true);
    m_p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void QtPainter::fill_rect(const Rect& r, Color c)
{
    if (c.a)
        m_p.fillRect(qrect(r), qcolor(c));
}

void QtPainter::fill_rounded_rect(const Rect& r, float radius, Color c)
{
    if (!c.a || r.is_empty())
        return;
    if (radius <= 0)
        return fill_rect(r, c);
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(qcolor(c));
    m_p.drawRoundedRect(qrect(r), radius, radius);
}

void QtPainter::stroke_rounded_rect(const Rect& r, float radius, Color c, float width)
{
    if (!c.a || r.is_empty())
        return;
    QPen pen(qcolor(c), width);
    m_p.setPen(pen);
    m_p.setBrush(Qt::NoBrush);
    // Centre the stroke on the pixel grid inside the rectangle.
    QRectF q = qrect(r.inset(width / 2));
    m_p.drawRoundedRect(q, radius, radius);
}

void QtPainter::draw_line(Point a, Point b, Color c, float width)
{
    if (!c.a)
        return;
    m_p.setPen(QPen(qcolor(c), width, Qt::SolidLine, Qt::FlatCap));
    m_p.drawLine(qpoint(a), qpoint(b));
}

void QtPainter::fill_path(const Path& path, Color c)
{
    if (!c.a || path.empty())
        return;
    m_p.fillPath(qpath(path), qcolor(c));
}

void QtPainter::stroke_path(const Path& path, Color c, float width)
{
    if (!c.a || path.empty())
        return;
    m_p.strokePath(qpath(path), QPen(qcolor(c), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void QtPainter::draw_text(const Rect& r, std::string_view text, const TextStyle& style, Color c, const TextLayout& layout)
{
    if (text.empty() || !c.a || r.width() <= 0)
        return;
    QFont font = font_for(style);
    if (layout.underline)
        font.setUnderline(true);
    const QFontMetricsF& m = metrics_for(style);
    QString q = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (layout.elide != Elide::None && m.horizontalAdvance(q) > r.width())
        q = m.elidedText(q, layout.elide == Elide::Middle ? Qt::ElideMiddle : Qt::ElideRight, r.width());
    qreal w = m.horizontalAdvance(q);
    qreal x = r.left;
    if (layout.h == HAlign::Center)
        x = r.left + (r.width() - w) / 2;
    else if (layout.h == HAlign::Right)
        x = r.right - w;
    qreal text_h = m.ascent() + m.descent();
    qreal y = r.top + m.ascent();
    if (layout.v == VAlign::Middle)
        y = r.top + (r.height() - text_h) / 2 + m.ascent();
    else if (layout.v == VAlign::Bottom)
        y = r.bottom - m.descent();
    m_p.setFont(font);
    m_p.setPen(qcolor(c));
    m_p.drawText(QPointF(x, y), q);
}

void QtPainter::draw_image_cover(const Rect& r, const Image& image, float radius)
{
    if (image.is_null() || r.is_empty())
        return;
    QImage q(reinterpret_cast<const uchar*>(image.pixels()), image.width(), image.height(), image.width() * 4,
             QImage::Format_ARGB32_Premultiplied);
    // Crop the source to the target's aspect ratio, centred.
    qreal src_w = image.width(), src_h = image.height();
    qreal target_aspect = r.width() / r.height();
    QRectF source(0, 0, src_w, src_h);
    if (src_w / src_h > target_aspect) {
        qreal w = src_h * target_aspect;
        source = QRectF((src_w - w) / 2, 0, w, src_h);
    } else {
        qreal h = src_w / target_aspect;
        source = QRectF(0, (src_h - h) / 2, src_w, h);
    }
    m_p.save();
    if (radius > 0) {
        QPainterPath clip;
        clip.addRoundedRect(qrect(r), radius, radius);
        m_p.setClipPath(clip, Qt::IntersectClip);
    }
    m_p.drawImage(qrect(r), q, source);
    m_p.restore();
}

void QtPainter::push_clip(const Rect& r)
{
    m_p.save();
    m_p.setClipRect(qrect(r), Qt::IntersectClip);
    m_clips.push_back(m_clips.back().intersected(r));
}

void QtPainter::pop_clip()
{
    if (m_clips.size() > 1)
        m_clips.pop_back();
    m_p.restore();
}

void QtPainter::push_opacity(float opacity)
{
    m_p.save();
    m_p.setOpacity(m_p.opacity() * opacity);
    m_clips.push_back(m_clips.back());
}

void QtPainter::pop_opacity() { pop_clip(); }

void paint_root(QPainter& qp, Widget& root, const Theme& theme, Size size, bool with_overlay)
{
    Rect bounds{0, 0, size.width, size.height};
    QtPainter painter(qp, bounds);
    painter.fill_rect(bounds, theme.window_background);
    root.draw(painter, theme);
    if (with_overlay)
        root.draw_overlay(painter, theme);
}

}
