#include "backend/gui_app.hpp"
#include "kavo_ui/text.hpp"

#include <QFontMetricsF>

namespace kavo_ui {

namespace {

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

const QFontMetricsF& metrics(const TextStyle& style) { return backend::metrics_for(style); }

}

float text_width(std::string_view text, const TextStyle& style)
{
    return float(metrics(style).horizontalAdvance(qstr(text)));
}

float line_height(const TextStyle& style) { return float(std::ceil(metrics(style).height())); }

float text_ascent(const TextStyle& style) { return float(metrics(style).ascent()); }

std::string elide_text(std::string_view text, const TextStyle& style, float max_width, Elide mode)
{
    if (mode == Elide::None)
        return std::string(text);
    QString q = qstr(text);
    const auto& m = metrics(style);
    if (m.horizontalAdvance(q) <= max_width)
        return std::string(text);
    return m.elidedText(q, mode == Elide::Middle ? Qt::ElideMiddle : Qt::ElideRight, std::max(0.0f, max_width)).toStdString();
}

}
