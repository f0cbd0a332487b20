#pragma once

#include "kavo_ui/access.hpp"
#include "kavo_ui/events.hpp"
#include "kavo_ui/geometry.hpp"
#include "kavo_ui/painter.hpp"
#include "kavo_ui/theme.hpp"

#include <nlohmann/json.hpp>

#include <chrono>
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kavo_ui {

using Clock = std::chrono::steady_clock;

struct FrameContext {
    Clock::time_point now;
    const Theme& theme;
};

// A platform action invoked on the widget's published resources.
struct ActionInvocation {
    std::string action;
    std::optional<int> effect_class;  // 0…255; absent when the caller gave none
    nlohmann::ordered_json payload;
    nlohmann::ordered_json args;
};

// The interface the toolkit drives. Each frame: sync, then layout (when the structure is dirty
// or the size changed), then draw and draw_overlay. Input arrives through handle_event.
class Widget {
public:
    virtual ~Widget() = default;

    virtual void sync(const FrameContext&) {}
    // The size the widget wants at the given width (height is what matters to stacks).
    virtual Size measure(float available_width, const Theme&) { return {available_width, 0}; }
    virtual void layout(const Rect& bounds, const Theme&) { m_bounds = bounds; }
    virtual void draw(Painter&, const Theme&) {}
    // Menus, sheets and bubbles: drawn after the whole tree, above it.
    virtual void draw_overlay(Painter&, const Theme&) {}
    virtual EventResult handle_event(const Event&) { return EventResult::Ignored; }

    // Appends this widget's accessibility nodes (usually one, with its children inside).
    virtual void accessibility(std::vector<AccessNode>&) const {}
    // A machine-readable description of what the widget shows; null when it gives none.
    virtual nlohmann::ordered_json observer_snapshot() const { return nullptr; }
    // The typed resources with their actions that the platform may invoke.
    virtual nlohmann::ordered_json resources() { return nlohmann::ordered_json::array(); }
    virtual std::expected<nlohmann::ordered_json, std::string> invoke(const ActionInvocation& call)
    {
        return std::unexpected("no such action: " + call.action);
    }

    // True once after anything that needs a new layout changed; the toolkit clears it by asking.
    virtual bool take_structure_dirty() { return false; }
    // True once after anything changed that needs a redraw without a new layout.
    virtual bool take_paint_dirty() { return false; }
    // The earliest instant at which the widget wants a frame without any input.
    virtual std::optional<Clock::time_point> next_deadline() const { return std::nullopt; }
    // True while an animation runs; the toolkit then keeps producing frames.
    virtual bool wants_animation_frame() const { return false; }
    virtual std::string window_title() const { return {}; }

    // Children in paint order, for walks over the tree (snapshots, tests).
    virtual void visit_children(const std::function<void(Widget&)>&) {}
    void visit_children(const std::function<void(const Widget&)>& fn) const
    {
        const_cast<Widget*>(this)->visit_children([&](Widget& w) { fn(w); });
    }

    const Rect& bounds() const { return m_bounds; }
    const std::string& id() const { return m_id; }
    void set_id(std::string id) { m_id = std::move(id); }

protected:
    Rect m_bounds;
    std::string m_id;
};

// Depth-first search of the tree below (and including) root.
Widget* find_widget(Widget& root, const std::function<bool(const Widget&)>& match);
Widget* find_widget_by_id(Widget& root, std::string_view id);
// The parent of target within root's tree, or nullptr.
Widget* find_parent(Widget& root, const Widget& target);

}
