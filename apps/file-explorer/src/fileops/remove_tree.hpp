#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

// Whether removal may give the owner write and search permission on folders it has to empty.
// Only for trees the engine made itself: a copied read-only folder must not keep its own
// staging copy on disk.
enum class LockedFolders { Leave, Unlock };

// Removes the item at `path`, a folder with its whole tree, without following any link. "Not
// found" counts as removed. The tree is walked with one open folder per level and no recursion.
std::expected<void, std::string> remove_tree(const std::filesystem::path& path, LockedFolders locked);

}
