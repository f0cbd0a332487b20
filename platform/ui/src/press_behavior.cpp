#include "kavo_ui/press_behavior.hpp"

namespace kavo_ui {

PressBehavior::Result PressBehavior::handle(const PointerEvent& e, const Rect& hit)
{
    bool was_hovered = m_hovered;
    bool was_pressed = pressed();
    bool inside = e.action != PointerAction::Leave && hit.contains(e.position);
    Result result = Result::None;

    switch (e.action) {
    case PointerAction::Move:
    case PointerAction::Leave:
        m_hovered = inside;
        break;
    case PointerAction::Down:
        m_hovered = inside;
        if (inside && e.button == PointerButton::Primary)
            m_held = true;
        break;
    case PointerAction::Up:
        m_hovered = inside;
        if (m_held && e.button == PointerButton::Primary) {
            m_held = false;
            if (inside)
                result = Result::Activated;
        }
        break;
    }
    if (result == Result::None && (was_hovered != m_hovered || was_pressed != pressed()))
        result = Result::Changed;
    return result;
}

void PressBehavior::reset()
{
    m_hovered = false;
    m_held = false;
}

}
