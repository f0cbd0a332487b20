#pragma once

#include "kavo_ui/geometry.hpp"

#include <string>
#include <variant>

namespace kavo_ui {

// Primary is Ctrl on Linux; the toolkit maps the platform's command modifier onto it.
struct Modifiers {
    bool primary = false;
    bool shift = false;
    bool alt = false;
    bool operator==(const Modifiers&) const = default;
};

enum class Key {
    Character,  // KeyEvent::character holds the code point
    Enter,
    Escape,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Backspace,
    Delete,
    Tab,
    Menu,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
};

struct KeyEvent {
    Key key = Key::Character;
    char32_t character = 0;  // lower-case form for letters when Key::Character
    Modifiers modifiers;
    bool repeat = false;
};

// Text typed by the user, after the input method committed it.
struct TextEvent {
    std::string text;
};

// Input-method composition: the preedit text is shown but not yet part of the content.
struct ImeEvent {
    std::string preedit;
    std::string commit;
};

enum class PointerAction { Move, Down, Up, Leave };
enum class PointerButton { None, Primary, Secondary, Middle };

struct PointerEvent {
    PointerAction action = PointerAction::Move;
    Point position;
    PointerButton button = PointerButton::None;
    Modifiers modifiers;
    int click_count = 1;  // 2 for the second press of a double click
};

struct WheelEvent {
    Point position;
    float dy = 0;  // positive scrolls towards the top (wheel away from the user)
    float dx = 0;
    Modifiers modifiers;
};

using Event = std::variant<KeyEvent, TextEvent, ImeEvent, PointerEvent, WheelEvent>;

enum class EventResult { Ignored, Handled };

}
