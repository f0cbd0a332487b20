#pragma once

#include <functional>

namespace kavo_ui {

// Asks the running window for a frame soon. Callable from any thread; workers call it after
// filling a result slot. Without a running window it does nothing.
void wake();

namespace detail {
// The window host installs the function that wake() forwards to; nullptr removes it.
void set_wake_handler(std::function<void()> handler);
}

}
