#include "kavo_ui/automation.hpp"

#include "automation_quote.hpp"
#include "kavo_services/utf8.hpp"

#include <array>
#include <cmath>
#include <fmt/format.h>
#include <unicode/uchar.h>
#include <utility>

namespace kavo_ui::automation {

namespace {

using json = nlohmann::ordered_json;

// One request line is at most 1 MiB, so this only keeps a single frame's worth of work sane.
constexpr size_t k_max_events = 10000;
// Far outside any window, yet small enough that layout arithmetic stays exact.
constexpr double k_max_coordinate = 1e6;

constexpr std::array<std::pair<std::string_view, Key>, 24> k_named_keys{{
    {"Enter", Key::Enter},   {"Escape", Key::Escape}, {"Up", Key::Up},
    {"Down", Key::Down},     {"Left", Key::Left},     {"Right", Key::Right},
    {"Home", Key::Home},     {"End", Key::End},       {"Backspace", Key::Backspace},
    {"Delete", Key::Delete}, {"Tab", Key::Tab},       {"Menu", Key::Menu},
    {"F1", Key::F1},         {"F2", Key::F2},         {"F3", Key::F3},
    {"F4", Key::F4},         {"F5", Key::F5},         {"F6", Key::F6},
    {"F7", Key::F7},         {"F8", Key::F8},         {"F9", Key::F9},
    {"F10", Key::F10},       {"F11", Key::F11},       {"F12", Key::F12},
}};

using Failure = std::unexpected<std::string>;

Failure fail(std::string text) { return Failure(std::move(text)); }

// The code point when the text is exactly one.
std::optional<char32_t> single_code_point(std::string_view text)
{
    if (text.empty() || !kavo_services::is_valid_utf8(text))
        return std::nullopt;
    auto b0 = static_cast<unsigned char>(text[0]);
    size_t length = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
    if (text.size() != length)
        return std::nullopt;
    if (length == 1)
        return char32_t(b0);
    char32_t cp = b0 & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    return cp;
}

std::expected<Key, std::string> named_key(std::string_view name)
{
    for (const auto& [key_name, key] : k_named_keys) {
        if (key_name == name)
            return key;
    }
    return fail(fmt::format("unknown key {}", quote_for_error(name)));
}

std::expected<bool, std::string> optional_flag(const json& event, const char* name)
{
    auto it = event.find(name);
    if (it == event.end())
        return false;
    if (!it->is_boolean())
        return fail(fmt::format("\"{}\" must be true or false", name));
    return it->get<bool>();
}

std::expected<float, std::string> coordinate(const json& event, const char* name)
{
    auto it = event.find(name);
    if (it == event.end())
        return fail(fmt::format("missing \"{}\"", name));
    if (!it->is_number() || !std::isfinite(it->get<double>()) || std::abs(it->get<double>()) > k_max_coordinate)
        return fail(fmt::format("\"{}\" must be a number between -{} and {}", name, k_max_coordinate, k_max_coordinate));
    return float(it->get<double>());
}

std::expected<std::string, std::string> string_member(const json& event, const char* name)
{
    auto it = event.find(name);
    if (it == event.end())
        return fail(fmt::format("missing \"{}\"", name));
    if (!it->is_string())
        return fail(fmt::format("\"{}\" must be a string", name));
    return it->get<std::string>();
}

// Which modifier flags an event kind carries; the others are not part of its description.
enum class ModifierFlags { Primary, PrimaryShift, PrimaryShiftAlt };

std::expected<Modifiers, std::string> modifiers(const json& event, ModifierFlags flags)
{
    Modifiers m;
    auto primary = optional_flag(event, "primary");
    if (!primary)
        return fail(primary.error());
    m.primary = *primary;
    if (flags == ModifierFlags::Primary)
        return m;
    auto shift = optional_flag(event, "shift");
    if (!shift)
        return fail(shift.error());
    m.shift = *shift;
    if (flags == ModifierFlags::PrimaryShift)
        return m;
    auto alt = optional_flag(event, "alt");
    if (!alt)
        return fail(alt.error());
    m.alt = *alt;
    return m;
}

std::expected<Event, std::string> key_event(const json& event)
{
    auto name = string_member(event, "key");
    if (!name)
        return fail(name.error());
    KeyEvent key;
    if (auto cp = single_code_point(*name)) {
        if (*cp < 0x20 || *cp == 0x7F)
            return fail("a control character is not a key; use the key's name");
        key.key = Key::Character;
        key.character = char32_t(u_tolower(UChar32(*cp)));
    } else {
        auto named = named_key(*name);
        if (!named)
            return fail(named.error());
        key.key = *named;
    }
    auto mods = modifiers(event, ModifierFlags::PrimaryShiftAlt);
    if (!mods)
        return fail(mods.error());
    key.modifiers = *mods;
    return key;
}

std::expected<Event, std::string> text_event(const json& event)
{
    auto text = string_member(event, "text");
    if (!text)
        return fail(text.error());
    return TextEvent{std::move(*text)};
}

std::expected<PointerAction, std::string> pointer_action(const json& event)
{
    auto name = string_member(event, "action");
    if (!name)
        return fail(name.error());
    if (*name == "move")
        return PointerAction::Move;
    if (*name == "down")
        return PointerAction::Down;
    if (*name == "up")
        return PointerAction::Up;
    return fail(fmt::format("unknown pointer action {}", quote_for_error(*name)));
}

// A press or release without a button means the primary one; a move without one holds none.
std::expected<PointerButton, std::string> pointer_button(const json& event, PointerAction action)
{
    if (!event.contains("button"))
        return action == PointerAction::Move ? PointerButton::None : PointerButton::Primary;
    auto name = string_member(event, "button");
    if (!name)
        return fail(name.error());
    if (*name == "primary")
        return PointerButton::Primary;
    if (*name == "secondary")
        return PointerButton::Secondary;
    if (*name == "middle")
        return PointerButton::Middle;
    return fail(fmt::format("unknown button {}", quote_for_error(*name)));
}

std::expected<Event, std::string> pointer_event(const json& event)
{
    PointerEvent pointer;
    auto action = pointer_action(event);
    if (!action)
        return fail(action.error());
    pointer.action = *action;
    auto x = coordinate(event, "x");
    if (!x)
        return fail(x.error());
    auto y = coordinate(event, "y");
    if (!y)
        return fail(y.error());
    pointer.position = {*x, *y};
    auto button = pointer_button(event, pointer.action);
    if (!button)
        return fail(button.error());
    pointer.button = *button;
    auto mods = modifiers(event, ModifierFlags::PrimaryShift);
    if (!mods)
        return fail(mods.error());
    pointer.modifiers = *mods;
    return pointer;
}

std::expected<Event, std::string> wheel_event(const json& event)
{
    WheelEvent wheel;
    auto x = coordinate(event, "x");
    if (!x)
        return fail(x.error());
    auto y = coordinate(event, "y");
    if (!y)
        return fail(y.error());
    auto dy = coordinate(event, "dy");
    if (!dy)
        return fail(dy.error());
    wheel.position = {*x, *y};
    wheel.dy = *dy;
    auto mods = modifiers(event, ModifierFlags::Primary);
    if (!mods)
        return fail(mods.error());
    wheel.modifiers = *mods;
    return wheel;
}

std::expected<Event, std::string> one_event(const json& event)
{
    if (!event.is_object())
        return fail("an event must be an object");
    auto type = string_member(event, "type");
    if (!type)
        return fail(type.error());
    if (*type == "key")
        return key_event(event);
    if (*type == "text")
        return text_event(event);
    if (*type == "pointer")
        return pointer_event(event);
    if (*type == "wheel")
        return wheel_event(event);
    return fail(fmt::format("unknown event type {}", quote_for_error(*type)));
}

}

std::expected<std::vector<Event>, std::string> parse_events(const json& events)
{
    if (!events.is_array())
        return fail("\"events\" must be an array");
    if (events.size() > k_max_events)
        return fail(fmt::format("at most {} events per request", k_max_events));
    std::vector<Event> parsed;
    parsed.reserve(events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        auto event = one_event(events[i]);
        if (!event)
            return fail(fmt::format("events[{}]: {}", i, event.error()));
        parsed.push_back(std::move(*event));
    }
    return parsed;
}

}
