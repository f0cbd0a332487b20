#pragma once

#include "command/request_queue.hpp"
#include "views/favorites/favorites.hpp"

#include "kavo_ui/icons.hpp"
#include "kavo_ui/widget.hpp"
#include "kavo_ui/widgets.hpp"

#include <memory>

namespace files::views {

// The left column: a "Favourites" section (the shared favourites list) and a "System" section
// (the root and, when it can be located, the Trash). Rows open on a click; favourites reorder by
// dragging and have a context menu. All changes go to the explorer as requests.
class PlacesSidebar final : public kavo_ui::Widget {
public:
    static constexpr float k_reorder_threshold = 6;

    PlacesSidebar(std::shared_ptr<const Favorites> favorites, std::vector<Place> system_places, command::RequestQueueHandle requests);

    void set_current_folder(std::filesystem::path folder) { m_current = std::move(folder); }
    void set_focus(bool focused) { m_focused = focused; }
    // Whether a point lies on the sidebar as the shell shows it now.
    bool sidebar_bounds_contain(kavo_ui::Point p, const kavo_ui::NavShell& shell) const
    {
        return shell.sidebar_visible() && m_bounds.contains(p);
    }
    bool focused() const { return m_focused; }
    const std::vector<Place>& system_places() const { return m_system; }
    // Feedback while entries from the file view are dragged over the sidebar: a row they would
    // move into, or the favourites section a folder would be pinned to.
    void set_drop_feedback(std::optional<size_t> row, bool pin);
    // What a drop at a point means: into a row's folder, or pinning (the favourites section
    // outside the rows, or below all rows).
    struct DropSpot {
        std::optional<size_t> row;
        bool pin = false;
    };
    DropSpot drop_spot(kavo_ui::Point p) const;
    // Shows a favourite being dragged to a new position (screenshots).
    void show_reorder(size_t from, size_t to);

    // Row i counts the favourites first, then the system places.
    size_t row_count() const;
    const Place& row_place(size_t row) const;
    bool row_is_favourite(size_t row) const { return row < favourite_count(); }
    kavo_ui::Rect row_rect(size_t row) const;
    std::optional<size_t> row_at(kavo_ui::Point p) const;
    std::optional<size_t> selected_row() const;

    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    void draw_overlay(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    size_t favourite_count() const { return m_favorites->places().size(); }
    float scale() const { return m_scale; }
    kavo_ui::Rect header_rect(bool system) const;
    size_t drop_target(kavo_ui::Point p) const;
    kavo_ui::EventResult handle_pointer(const kavo_ui::PointerEvent& e);
    kavo_ui::EventResult handle_key(const kavo_ui::KeyEvent& e);
    void draw_row(kavo_ui::Painter&, const kavo_ui::Theme&, size_t row, const kavo_ui::Rect& r, bool lifted);

    struct Drag {
        size_t pressed;
        kavo_ui::Point press;
        float grab_offset;  // pointer y inside the pressed row
        kavo_ui::Point pointer;
        size_t target;
        bool dragging = false;
    };

    std::shared_ptr<const Favorites> m_favorites;
    std::vector<Place> m_system;
    command::RequestQueueHandle m_requests;
    std::filesystem::path m_current;
    std::optional<size_t> m_hovered;
    std::optional<size_t> m_focus_row;
    bool m_focused = false;
    std::optional<Drag> m_drag;
    std::optional<size_t> m_drop_row;
    bool m_drop_pin = false;
    float m_scale = 1;
    bool m_paint_dirty = false;
};

kavo_ui::Icon icon_for_place(PlaceKind kind);

}
