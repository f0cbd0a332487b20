#pragma once

#include "model/directory_entry.hpp"

#include "kavo_ui/geometry.hpp"

#include <optional>
#include <utility>

namespace files::views {

// The arithmetic of the file view: where every row, cell and column is, and which entry a point
// hits, computed from the view mode, zoom z, text scale t, UI scale and the bounds alone — never
// by walking the entries.
class FileViewGeometry {
public:
    FileViewGeometry(model::ViewMode mode, float zoom, float text_scale, float ui_scale, kavo_ui::Rect bounds, size_t count);

    model::ViewMode mode() const { return m_mode; }
    float zoom() const { return m_z; }
    float text_scale() const { return m_t; }
    const kavo_ui::Rect& bounds() const { return m_bounds; }
    size_t count() const { return m_count; }

    // List mode.
    float header_height() const;
    float row_height() const;
    float margin() const;  // the inner margin p of the columns
    bool shows_size() const;
    bool shows_modified() const;
    // Horizontal spans (left, right) of the three columns; absent when a column is hidden.
    std::pair<float, float> name_column() const;
    std::optional<std::pair<float, float>> size_column() const;
    std::optional<std::pair<float, float>> modified_column() const;
    // The header band, pinned to the viewport top once the content scrolled under it.
    kavo_ui::Rect header_rect(const std::optional<kavo_ui::Rect>& viewport) const;

    // Grid mode.
    float grid_margin() const { return 10 * m_z * m_s; }
    float base_cell_width() const;
    float gap() const;
    float cell_width() const { return m_cell_w; }
    float cell_height() const { return m_cell_h; }
    size_t columns() const { return m_columns; }

    // Both modes.
    kavo_ui::Rect item_rect(size_t index) const;
    float content_height() const;
    float preferred_width() const;
    // The entry under a point (window coordinates), if any. In list mode a pinned header covers
    // the rows under it.
    std::optional<size_t> hit(kavo_ui::Point p, const std::optional<kavo_ui::Rect>& viewport = std::nullopt) const;
    // The half-open index range of entries that intersect the visible rectangle.
    std::pair<size_t, size_t> visible_range(const kavo_ui::Rect& visible) const;

private:
    model::ViewMode m_mode;
    float m_z, m_t, m_s;
    kavo_ui::Rect m_bounds;
    size_t m_count;
    float m_cell_w = 0, m_cell_h = 0;
    size_t m_columns = 1;
};

}
