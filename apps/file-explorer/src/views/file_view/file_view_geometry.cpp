#include "views/file_view/file_view_geometry.hpp"

#include <algorithm>
#include <cmath>

namespace files::views {

using kavo_ui::Point;
using kavo_ui::Rect;

FileViewGeometry::FileViewGeometry(model::ViewMode mode, float zoom, float text_scale, float ui_scale, Rect bounds, size_t count)
    : m_mode(mode), m_z(zoom), m_t(text_scale), m_s(ui_scale), m_bounds(bounds), m_count(count)
{
    if (mode != model::ViewMode::Grid)
        return;
    float a = std::max(bounds.width() - 2 * grid_margin(), 0.0f);
    float b = base_cell_width();
    float g = gap();
    float h = (104 * m_z + 36 * m_z * std::max(m_t - 1, 0.0f)) * m_s;
    // Two cells stretch to fill a row that cannot hold two base cells; 132 is a pixel floor of
    // its own, not scaled.
    m_cell_w = (a < 2 * b + g && (a - g) / 2 >= 132) ? (a - g) / 2 : b;
    m_cell_h = m_cell_w < b ? std::min(h, 0.9f * m_cell_w) : h;
    m_columns = m_cell_w + g <= 0 ? 1 : std::max<size_t>(1, size_t(std::floor((a + g) / (m_cell_w + g))));
}

float FileViewGeometry::header_height() const { return 30 * m_z * m_t * m_s; }
float FileViewGeometry::row_height() const { return 34 * m_z * m_t * m_s; }
float FileViewGeometry::margin() const { return 10 * m_z * m_s; }
bool FileViewGeometry::shows_modified() const { return m_bounds.width() > 560 * m_z * m_t * m_s; }
bool FileViewGeometry::shows_size() const { return m_bounds.width() > 340 * m_z * m_t * m_s; }
float FileViewGeometry::base_cell_width() const { return 112 * m_z * m_t * m_s; }
float FileViewGeometry::gap() const { return 16 * m_z * std::sqrt(m_t) * m_s; }

std::optional<std::pair<float, float>> FileViewGeometry::modified_column() const
{
    if (!shows_modified())
        return std::nullopt;
    float right = m_bounds.right - margin();
    return std::pair{right - 158 * m_z * m_t * m_s, right};
}

std::optional<std::pair<float, float>> FileViewGeometry::size_column() const
{
    if (!shows_size())
        return std::nullopt;
    auto modified = modified_column();
    float right = modified ? modified->first - margin() : m_bounds.right - margin();
    return std::pair{right - 96 * m_z * m_t * m_s, right};
}

std::pair<float, float> FileViewGeometry::name_column() const
{
    float left = m_bounds.left + margin();
    if (auto size = size_column())
        return {left, size->first - margin()};
    if (auto modified = modified_column())
        return {left, modified->first - margin()};
    return {left, m_bounds.right - margin()};
}

Rect FileViewGeometry::header_rect(const std::optional<Rect>& viewport) const
{
    float top = m_bounds.top;
    if (viewport && viewport->top > top)
        top = viewport->top;
    return {m_bounds.left, top, m_bounds.right, top + header_height()};
}

Rect FileViewGeometry::item_rect(size_t i) const
{
    if (m_mode == model::ViewMode::List) {
        float top = m_bounds.top + header_height() + row_height() * float(i);
        return {m_bounds.left, top, m_bounds.right, top + row_height()};
    }
    size_t column = i % m_columns, row = i / m_columns;
    float x = m_bounds.left + grid_margin() + float(column) * (m_cell_w + gap());
    float y = m_bounds.top + grid_margin() + float(row) * (m_cell_h + gap());
    return {x, y, x + m_cell_w, y + m_cell_h};
}

float FileViewGeometry::content_height() const
{
    if (m_mode == model::ViewMode::List)
        return header_height() + row_height() * float(m_count) + 6 * m_s;
    size_t rows = (m_count + m_columns - 1) / m_columns;
    return grid_margin() + float(rows) * (m_cell_h + gap());
}

float FileViewGeometry::preferred_width() const
{
    if (m_mode == model::ViewMode::Grid)
        return m_cell_w + 2 * grid_margin();
    return m_bounds.width();
}

std::optional<size_t> FileViewGeometry::hit(Point p, const std::optional<Rect>& viewport) const
{
    if (p.x < m_bounds.left || p.x >= m_bounds.right || p.y < m_bounds.top)
        return std::nullopt;
    std::optional<size_t> index;
    if (m_mode == model::ViewMode::List) {
        if (header_rect(viewport).contains(p) || p.y < m_bounds.top + header_height())
            return std::nullopt;
        index = size_t(std::floor((p.y - m_bounds.top - header_height()) / row_height()));
    } else {
        float x = p.x - m_bounds.left - grid_margin();
        float y = p.y - m_bounds.top - grid_margin();
        if (x < 0 || y < 0)
            return std::nullopt;
        float stride_x = m_cell_w + gap(), stride_y = m_cell_h + gap();
        auto column = size_t(std::floor(x / stride_x));
        auto row = size_t(std::floor(y / stride_y));
        // A point in the gap between cells hits nothing.
        if (x - float(column) * stride_x >= m_cell_w || y - float(row) * stride_y >= m_cell_h || column >= m_columns)
            return std::nullopt;
        index = row * m_columns + column;
    }
    if (*index >= m_count)
        return std::nullopt;
    return index;
}

std::pair<size_t, size_t> FileViewGeometry::visible_range(const Rect& visible) const
{
    if (m_count == 0 || visible.is_empty())
        return {0, 0};
    float top = visible.top - m_bounds.top, bottom = visible.bottom - m_bounds.top;
    size_t first, last;
    if (m_mode == model::ViewMode::List) {
        float origin = header_height();
        first = size_t(std::max(0.0f, std::floor((top - origin) / row_height())));
        last = size_t(std::max(0.0f, std::ceil((bottom - origin) / row_height())));
    } else {
        float stride = m_cell_h + gap();
        size_t first_row = size_t(std::max(0.0f, std::floor((top - grid_margin()) / stride)));
        size_t last_row = size_t(std::max(0.0f, std::ceil((bottom - grid_margin()) / stride)));
        first = first_row * m_columns;
        last = last_row * m_columns;
    }
    return {std::min(first, m_count), std::min(last, m_count)};
}

}
