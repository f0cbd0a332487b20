#pragma once

#include "kavo_ui/icons.hpp"
#include "kavo_ui/press_behavior.hpp"
#include "kavo_ui/widget.hpp"

#include <optional>
#include <string>
#include <vector>

namespace kavo_ui {

// A segmented control: a row of mutually exclusive segments, exactly one of them selected.
// A click on a segment or Left/Right while the group has the keyboard focus selects and reports
// it; set_selected (the owner's state) never reports.
class ToggleGroup : public Widget {
public:
    struct Segment {
        std::string label;  // shown, and the segment's accessible name
        std::optional<Icon> icon;
        bool operator==(const Segment&) const = default;
    };

    ToggleGroup(std::string id, std::string label, std::vector<Segment> segments);

    const std::string& label() const { return m_label; }
    const std::vector<Segment>& segments() const { return m_segments; }
    size_t selected() const { return m_selected; }
    // Out-of-range indices are ignored.
    void set_selected(size_t index);
    // The segment the user picked since the last call (the latest pick when there were several).
    std::optional<size_t> take_chosen() { return std::exchange(m_chosen, std::nullopt); }

    // Segments with an icon show only the icon; the label stays their accessible name.
    void set_icons_only(bool icons_only);
    void set_focused(bool focused);
    bool focused() const { return m_focused; }
    Rect segment_rect(size_t index) const;

    Size measure(float available_width, const Theme&) override;
    void draw(Painter&, const Theme&) override;
    EventResult handle_event(const Event&) override;
    void accessibility(std::vector<AccessNode>&) const override;
    bool take_paint_dirty() override { return std::exchange(m_paint_dirty, false); }

private:
    void choose(size_t index);
    bool shows_label(const Segment& segment) const { return !m_icons_only || !segment.icon; }

    std::string m_label;
    std::vector<Segment> m_segments;
    std::vector<PressBehavior> m_press;
    size_t m_selected = 0;
    std::optional<size_t> m_chosen;
    bool m_icons_only = false;
    bool m_focused = false;
    bool m_paint_dirty = false;
};

}
