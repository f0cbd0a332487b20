#pragma once

#include "command/request_queue.hpp"
#include "views/path_bar/breadcrumbs.hpp"

#include "kavo_ui/autocomplete.hpp"
#include "kavo_ui/widget.hpp"

namespace files::views {

// The current folder as clickable breadcrumbs; on request a path entry with completion. The
// explorer navigates; the bar only asks.
class PathBar final : public kavo_ui::Widget {
public:
    explicit PathBar(command::RequestQueueHandle requests);

    struct Inputs {
        std::filesystem::path current;
        std::optional<std::filesystem::path> home;
        std::vector<std::filesystem::path> workspace_roots;
        bool operator==(const Inputs&) const = default;
    };
    void update(Inputs inputs);

    void begin_edit();
    bool editing() const { return m_entry.editing(); }
    kavo_ui::Autocomplete& entry() { return m_entry; }
    void set_focus(bool focused);
    bool focused() const { return m_focused; }
    const BreadcrumbTrail& trail() const { return m_trail; }
    const std::vector<CrumbItem>& items() const { return m_items; }

    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    void draw_overlay(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    void visit_children(const std::function<void(kavo_ui::Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    kavo_ui::TextStyle crumb_style(const kavo_ui::Theme& theme) const;
    std::optional<size_t> segment_at(kavo_ui::Point p) const;
    void activate_segment(size_t index);
    void take_entry_result();
    kavo_ui::EventResult handle_key(const kavo_ui::KeyEvent& e);

    command::RequestQueueHandle m_requests;
    Inputs m_inputs;
    BreadcrumbTrail m_trail{{}, kavo_ui::Icon::Root};
    std::vector<CrumbItem> m_items;
    std::optional<size_t> m_hovered;
    std::optional<size_t> m_focus_segment;
    bool m_focused = false;
    kavo_ui::Autocomplete m_entry;
    kavo_ui::Theme m_theme = kavo_ui::dark_theme();
    bool m_paint_dirty = false;
};

}
