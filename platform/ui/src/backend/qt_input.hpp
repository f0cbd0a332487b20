#pragma once

#include "kavo_ui/events.hpp"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <string>
#include <vector>

namespace kavo_ui::backend {

std::string utf8_of(char32_t code_point);
std::vector<Event> translate_key(const QKeyEvent& e);
Event translate_mouse(const QMouseEvent& e, PointerAction action, int click_count);
Event translate_wheel(const QWheelEvent& e);

}
