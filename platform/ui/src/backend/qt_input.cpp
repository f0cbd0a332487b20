#include "backend/qt_input.hpp"

namespace kavo_ui::backend {

namespace {

Modifiers modifiers_of(Qt::KeyboardModifiers m)
{
    return {m.testFlag(Qt::ControlModifier), m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::AltModifier)};
}

std::optional<Key> named_key(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_End: return Key::End;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_Backspace: return Key::Backspace;
    case Qt::Key_Delete: return Key::Delete;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Key::Tab;
    case Qt::Key_Menu: return Key::Menu;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return Key(int(Key::F1) + (key - Qt::Key_F1));
    return std::nullopt;
}

}

std::string utf8_of(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
    return out;
}

std::vector<Event> translate_key(const QKeyEvent& e)
{
    KeyEvent key;
    key.modifiers = modifiers_of(e.modifiers());
    key.repeat = e.isAutoRepeat();
    if (e.key() == Qt::Key_Backtab)
        key.modifiers.shift = true;
    if (auto named = named_key(e.key())) {
        key.key = *named;
        return {key};
    }
    QString text = e.text();
    // Several code points at once (an input method or a dead key sequence) are only text.
    if (text.size() > 1 && !(text.size() == 2 && text.at(0).isHighSurrogate()))
        return {TextEvent{text.toStdString()}};
    char32_t c = 0;
    if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && !key.modifiers.primary)
        c = text.toUcs4().value(0);
    else if (e.key() >= 0x20 && e.key() < 0x110000)
        c = char32_t(e.key());  // with Primary held the text is a control character; the key code is not
    if (c == 0)
        return {};
    key.key = Key::Character;
    key.character = QChar::toLower(c);
    return {key};
}

Event translate_mouse(const QMouseEvent& e, PointerAction action, int click_count)
{
    PointerEvent p;
    p.action = action;
    p.position = {float(e.position().x()), float(e.position().y())};
    p.modifiers = modifiers_of(e.modifiers());
    p.click_count = click_count;
    switch (e.button()) {
    case Qt::LeftButton: p.button = PointerButton::Primary; break;
    case Qt::RightButton: p.button = PointerButton::Secondary; break;
    case Qt::MiddleButton: p.button = PointerButton::Middle; break;
    default: p.button = PointerButton::None; break;
    }
    return p;
}

Event translate_wheel(const QWheelEvent& e)
{
    WheelEvent w;
    w.position = {float(e.position().x()), float(e.position().y())};
    w.modifiers = modifiers_of(e.modifiers());
    // One notch is 120 units; touchpads deliver fractions of it.
    w.dy = float(e.angleDelta().y()) / 120.0f;
    w.dx = float(e.angleDelta().x()) / 120.0f;
    return w;
}

}
