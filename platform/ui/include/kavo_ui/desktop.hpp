#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kavo_ui {

// Puts text on the system clipboard; false without a running window system connection.
bool clipboard_copy(std::string_view text);
// The text on the system clipboard; nullopt when it holds none or there is no window system
// connection.
std::optional<std::string> clipboard_paste_text();

// The longest gap between two presses that still makes a double click.
std::chrono::milliseconds multi_click_interval();

}
