#pragma once

#include "kavo_ui/widget.hpp"

#include <optional>
#include <string>
#include <vector>

namespace kavo_ui {

// A popup menu drawn in the overlay layer, with check marks, disabled items, separators and
// submenus. Pointer: hover highlights (and opens submenus), a press chooses, a press outside
// closes. Keys: Up/Down skip separators and disabled items, Right/Left enter and leave submenus,
// Enter chooses, Escape closes one level.
class ContextMenu final : public Widget {
public:
    struct Item {
        std::string label;
        std::string command;  // what choosing it runs; empty for separators and submenus
        bool checkable = false;
        bool checked = false;
        bool enabled = true;
        bool separator = false;
        std::vector<Item> submenu;

        static Item action(std::string label, std::string command, bool enabled = true)
        {
            Item item;
            item.label = std::move(label);
            item.command = std::move(command);
            item.enabled = enabled;
            return item;
        }
        static Item check(std::string label, std::string command, bool checked)
        {
            Item item = action(std::move(label), std::move(command));
            item.checkable = true;
            item.checked = checked;
            return item;
        }
        static Item sub(std::string label, std::vector<Item> items)
        {
            Item item = action(std::move(label), {});
            item.submenu = std::move(items);
            return item;
        }
        static Item separator_item()
        {
            Item item;
            item.separator = true;
            item.enabled = false;
            return item;
        }
    };
    struct Chosen {
        std::string command;
        std::vector<size_t> path;  // item index per level
    };

    static constexpr float k_item_height = 30;
    static constexpr float k_separator_height = 9;
    static constexpr float k_min_width = 180;

    // Opens with the items pushed so far at a point, kept inside the window.
    void open_at(Point at, const Rect& window);
    void push(Item item);
    void clear();
    void close();
    bool is_open() const { return !m_levels.empty(); }
    const std::vector<Item>& items() const { return m_items; }
    // The top-level item under a point, if any.
    std::optional<size_t> item_at(Point p) const;
    std::optional<Chosen> take_chosen() { return std::exchange(m_chosen, std::nullopt); }
    // The rectangle of each open level.
    std::vector<Rect> level_rects() const;
    std::optional<size_t> highlighted(size_t level = 0) const;

    void layout(const Rect& bounds, const Theme&) override;
    void draw_overlay(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    struct Level {
        const std::vector<Item>* items;
        Rect rect;
        std::optional<size_t> highlight;
    };
    Rect place(const std::vector<Item>& items, Point at, const Rect& window, const Theme& theme) const;
    float item_top(const Level& level, size_t index) const;
    float item_height(const Item& item) const;
    std::optional<std::pair<size_t, size_t>> hit(Point p) const;  // level, item
    void open_submenu(size_t level, size_t index);
    void activate(size_t level, size_t index);
    void step(int direction);
    bool selectable(const Item& item) const { return !item.separator && item.enabled; }

    std::vector<Item> m_items;
    std::vector<Level> m_levels;
    Point m_at;
    Rect m_window;
    Theme m_theme = dark_theme();
    std::optional<Chosen> m_chosen;
    bool m_paint_dirty = false;
};

}
