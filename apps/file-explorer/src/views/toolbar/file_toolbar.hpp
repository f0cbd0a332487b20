#pragma once

#include "command/request_queue.hpp"
#include "model/directory_entry.hpp"
#include "views/path_bar/path_bar.hpp"

#include "kavo_ui/toggle_group.hpp"
#include "kavo_ui/widgets.hpp"

#include <memory>

namespace files::views {

// The row above the file view: Back, Forward and Up on the left, the path bar in the middle,
// the view controls on the right. It shows state and forwards activation, nothing else.
class FileToolbar final : public kavo_ui::Widget {
public:
    static constexpr float k_compact_below = 760;

    FileToolbar(PathBar& path_bar, command::RequestQueueHandle requests);

    struct State {
        bool back = false;
        bool forward = false;
        bool up = false;
        model::ViewMode view_mode = model::ViewMode::List;
        bool archive = false;
        bool operator==(const State&) const = default;
    };
    void update(const State& state);
    bool compact() const { return m_compact; }
    // The buttons and the toggle now in the row, by id (for control invocations and tests).
    kavo_ui::Button* button(std::string_view id);
    kavo_ui::ToggleGroup* view_toggle() { return m_view_toggle.get(); }
    std::vector<std::string> control_ids() const;

    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    void draw_overlay(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    void visit_children(const std::function<void(kavo_ui::Widget&)>&) override;
    bool take_structure_dirty() override { return std::exchange(m_structure_dirty, false); }
    bool take_paint_dirty() override;

private:
    void rebuild();
    void add_button(std::string id, const char* label_key, std::optional<kavo_ui::Icon> icon, bool enabled, float width,
                    bool show_label);
    std::vector<kavo_ui::Widget*> children() const;

    PathBar& m_path_bar;
    command::RequestQueueHandle m_requests;
    State m_state;
    bool m_compact = true;
    bool m_built = false;
    bool m_structure_dirty = false;
    std::vector<std::unique_ptr<kavo_ui::Button>> m_left;
    std::vector<std::unique_ptr<kavo_ui::Button>> m_right;
    std::unique_ptr<kavo_ui::ToggleGroup> m_view_toggle;
    std::vector<float> m_right_widths;
    kavo_ui::PointerRouter m_router;
};

}
