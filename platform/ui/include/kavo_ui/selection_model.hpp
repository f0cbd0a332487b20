#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace kavo_ui {

// Selection over the indices 0…count−1 with an anchor for range extension and a focused index.
//
//   gesture                 selection                    anchor     focus
//   click i                 only i                       i          i
//   Primary+click i         i toggled, rest kept         i          i
//   Shift+click i           anchor…i (only that range)   kept       i
//   move_to(i, false)       only i                       i          i
//   move_to(i, true)        anchor…i                     kept       i
class SelectionModel {
public:
    explicit SelectionModel(size_t count = 0) { reset(count); }

    // Clears everything and sets the number of selectable indices.
    void reset(size_t count);
    size_t count() const { return m_flags.size(); }

    void apply_click(size_t index, bool primary, bool shift);
    void toggle(size_t index);
    void select_only(size_t index);
    void select_all();
    void move_to(size_t index, bool extend);
    void clear();
    // Replaces the selection with the given indices (out-of-range ones are ignored).
    void set_selected(const std::vector<size_t>& indices);
    void set_focused(std::optional<size_t> index);

    bool is_selected(size_t index) const { return index < m_flags.size() && m_flags[index]; }
    bool empty() const { return m_selected == 0; }
    size_t selected_count() const { return m_selected; }
    // Ascending indices.
    std::vector<size_t> selected() const;
    std::optional<size_t> focused() const { return m_focused; }
    std::optional<size_t> anchor() const { return m_anchor; }

private:
    void set(size_t index, bool on);
    void select_range(size_t a, size_t b);

    std::vector<bool> m_flags;
    size_t m_selected = 0;
    std::optional<size_t> m_anchor;
    std::optional<size_t> m_focused;
};

}
