#pragma once

#include <filesystem>
#include <vector>

namespace files::fileops {

// The window's own clipboard of files: paths in listing order and whether they were cut. It is
// never put on the system clipboard and lives as long as the window.
struct FileClipboard {
    std::vector<std::filesystem::path> items;
    bool cut = false;

    bool empty() const { return items.empty(); }
};

// Which dragged items a drop onto a folder moves: not those already in it, not the folder itself,
// not a folder the target lies inside.
std::vector<std::filesystem::path> items_to_move(const std::vector<std::filesystem::path>& dragged,
                                                 const std::filesystem::path& target);

}
