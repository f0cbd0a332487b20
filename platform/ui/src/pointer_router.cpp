#include "kavo_ui/widgets.hpp"

#include <algorithm>

namespace kavo_ui {

namespace {

std::optional<Point> position_of(const Event& e)
{
    if (auto* p = std::get_if<PointerEvent>(&e))
        return p->position;
    if (auto* w = std::get_if<WheelEvent>(&e))
        return w->position;
    return std::nullopt;
}

}

EventResult PointerRouter::route(const Event& e, const std::vector<Widget*>& children)
{
    auto pos = position_of(e);
    if (!pos) {
        // Keys and text go to every child until one takes them; focus handling is the owner's.
        for (Widget* child : children)
            if (child->handle_event(e) == EventResult::Handled)
                return EventResult::Handled;
        return EventResult::Ignored;
    }
    auto* pointer = std::get_if<PointerEvent>(&e);
    if (m_captured && std::find(children.begin(), children.end(), m_captured) == children.end())
        m_captured = nullptr;
    if (m_captured && pointer) {
        Widget* target = m_captured;
        if (pointer->action == PointerAction::Up)
            m_captured = nullptr;
        return target->handle_event(e);
    }

    EventResult result = EventResult::Ignored;
    // Later children are drawn on top, so they get the first chance at the pointer.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Widget* child = *it;
        bool inside = child->bounds().contains(*pos);
        if (pointer && (pointer->action == PointerAction::Move || pointer->action == PointerAction::Leave)) {
            // Every child sees moves so hover states clear when the pointer leaves them.
            PointerEvent moved = *pointer;
            if (!inside || result == EventResult::Handled)
                moved.action = PointerAction::Leave;
            if (child->handle_event(moved) == EventResult::Handled && moved.action != PointerAction::Leave)
                result = EventResult::Handled;
            continue;
        }
        if (!inside || result == EventResult::Handled)
            continue;
        if (child->handle_event(e) == EventResult::Handled) {
            result = EventResult::Handled;
            if (pointer && pointer->action == PointerAction::Down)
                m_captured = child;
        }
    }
    return result;
}

}
