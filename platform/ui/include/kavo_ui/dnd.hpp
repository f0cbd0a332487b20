#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace kavo_ui::dnd {

enum class DragResult {
    Unavailable,     // no window system that can carry a drag (offscreen, no display)
    TakenByDesktop,  // another application accepted the items
    Cancelled,
};

// Carries files out of the window as a text/uri-list drag, with a label for the drag image.
// Blocks until the drag ends.
DragResult start_file_drag(const std::vector<std::filesystem::path>& paths, std::string_view label);

}
