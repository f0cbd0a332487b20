#pragma once

#include "command/request_queue.hpp"
#include "model/directory_entry.hpp"

#include "kavo_ui/selection_model.hpp"
#include "kavo_ui/widget.hpp"

#include <limits>

namespace files::views {

// Shows the current folder's entries. It holds no authority: the explorer hands it the entries,
// selection and view settings before every layout, and every user intent goes back to the
// explorer as a request on the queue.
class FileView final : public kavo_ui::Widget {
public:
    explicit FileView(command::RequestQueueHandle requests);

    struct Model {
        const model::EntryList* entries = nullptr;
        const kavo_ui::SelectionModel* selection = nullptr;
        model::ViewMode view_mode = model::ViewMode::List;
        float zoom = 1.0f;
    };
    void set_model(const Model& model);

    // Content-relative top and bottom of an entry's row, for scrolling it into view.
    std::pair<float, float> row_span(size_t index) const;
    std::optional<size_t> index_at(kavo_ui::Point p) const;
    kavo_ui::Point last_cursor() const { return m_last_cursor; }

    kavo_ui::Size measure(float available_width, const kavo_ui::Theme&) override;
    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    float row_height() const;
    size_t count() const { return m_model.entries ? m_model.entries->size() : 0; }

    command::RequestQueueHandle m_requests;
    Model m_model;
    float m_scale = 1.0f;
    std::optional<size_t> m_hovered;
    kavo_ui::Point m_last_cursor{std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN()};
    bool m_paint_dirty = false;
};

}
