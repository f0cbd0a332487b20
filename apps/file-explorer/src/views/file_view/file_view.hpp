#pragma once

#include "command/request_queue.hpp"
#include "model/directory_entry.hpp"
#include "views/file_view/file_view_geometry.hpp"

#include "kavo_ui/image.hpp"
#include "kavo_ui/selection_model.hpp"
#include "kavo_ui/widget.hpp"

#include <functional>
#include <limits>

namespace files::views {

// Shows the current folder's entries as a list with columns or as a grid of cells. It holds no
// authority: the explorer hands it the entries, selection and view settings before every layout,
// and every user intent goes back to the explorer as a request on the queue.
class FileView final : public kavo_ui::Widget {
public:
    static constexpr float k_drag_threshold = 6;

    explicit FileView(command::RequestQueueHandle requests);

    // A ready thumbnail for an entry, or nothing (the kind icon is drawn). Asked only for the
    // files being drawn.
    using ThumbnailLookup = std::function<std::optional<kavo_ui::Image>(const model::DirectoryEntry&)>;

    struct Model {
        const model::EntryList* entries = nullptr;
        const kavo_ui::SelectionModel* selection = nullptr;
        model::ViewMode view_mode = model::ViewMode::List;
        model::SortBy sort_by = model::SortBy::Name;
        model::SortOrder sort_order = model::SortOrder::Ascending;
        float zoom = 1.0f;
        std::optional<kavo_ui::Rect> viewport;
        bool focused = true;
        ThumbnailLookup thumbnails;
        std::optional<size_t> drop_target;  // the folder a drag would move its items into
        std::optional<size_t> renaming;     // the entry whose name the inline field covers
    };
    void set_model(Model model);

    const FileViewGeometry& geometry() const { return m_geometry; }
    kavo_ui::Point last_cursor() const { return m_last_cursor; }
    // The folder entry under a point that a drag could drop onto, if any.
    std::optional<size_t> folder_at(kavo_ui::Point p) const;
    // Where the inline rename field covers an entry's name.
    kavo_ui::Rect rename_field_rect(size_t index, const kavo_ui::Theme& theme) const;

    kavo_ui::Size measure(float available_width, const kavo_ui::Theme&) override;
    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    size_t count() const { return m_model.entries ? m_model.entries->size() : 0; }
    const model::DirectoryEntry& entry(size_t i) const { return (*m_model.entries)[i]; }
    bool selected(size_t i) const { return m_model.selection && m_model.selection->is_selected(i); }
    FileViewGeometry geometry_for(const kavo_ui::Rect& bounds) const;
    kavo_ui::TextStyle list_font(const kavo_ui::Theme& theme) const;

    void draw_list(kavo_ui::Painter&, const kavo_ui::Theme&, const kavo_ui::Rect& visible);
    void draw_header(kavo_ui::Painter&, const kavo_ui::Theme&);
    void draw_grid(kavo_ui::Painter&, const kavo_ui::Theme&, const kavo_ui::Rect& visible);
    void draw_item_icon(kavo_ui::Painter&, const kavo_ui::Theme&, const model::DirectoryEntry&, const kavo_ui::Rect& square);

    kavo_ui::EventResult handle_pointer(const kavo_ui::PointerEvent&);
    kavo_ui::EventResult handle_key(const kavo_ui::KeyEvent&);
    bool press_header(kavo_ui::Point p);

    struct PendingPress {
        std::filesystem::path path;
        bool is_folder;
        kavo_ui::Point position;
    };

    command::RequestQueueHandle m_requests;
    Model m_model;
    float m_text_scale = 1.0f;
    float m_ui_scale = 1.0f;
    FileViewGeometry m_geometry{model::ViewMode::List, 1, 1, 1, {}, 0};
    std::optional<size_t> m_hovered;
    std::optional<PendingPress> m_pending;
    kavo_ui::Point m_last_cursor{std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN()};
    bool m_paint_dirty = false;
};

}
