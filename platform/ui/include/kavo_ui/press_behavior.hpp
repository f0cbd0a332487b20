#pragma once

#include "kavo_ui/events.hpp"
#include "kavo_ui/geometry.hpp"

namespace kavo_ui {

// The hover/press state machine shared by buttons, menu items and rows.
//
//   state     event                        next      result
//   idle      move inside                  hovered
//   hovered   move outside / leave         idle
//   hovered   primary down inside          held
//   held      move outside                 held      (drawn un-pressed while outside)
//   held      primary up inside            hovered   Activated
//   held      primary up outside           idle
class PressBehavior {
public:
    enum class Result { None, Changed, Activated };

    // Feeds a pointer event with the widget's hit rectangle; Changed when the look changes.
    Result handle(const PointerEvent& e, const Rect& hit);
    void reset();

    bool hovered() const { return m_hovered; }
    bool pressed() const { return m_held && m_hovered; }
    bool held() const { return m_held; }

private:
    bool m_hovered = false;
    bool m_held = false;
};

}
