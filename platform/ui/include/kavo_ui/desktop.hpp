#pragma once

#include <chrono>
#include <string_view>

namespace kavo_ui {

// Puts text on the system clipboard; false without a running window system connection.
bool clipboard_copy(std::string_view text);

// The longest gap between two presses that still makes a double click.
std::chrono::milliseconds multi_click_interval();

}
