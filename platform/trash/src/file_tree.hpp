#pragma once

#include <cstdint>
#include <expected>
#include <string>

namespace kavo_trash {

// The disk space the tree at `name` inside the folder `parent_fd` uses, counted as "du -B1"
// does: allocated blocks of every entry including the top folder, hard-linked files once,
// symbolic links not followed.
std::expected<std::uint64_t, std::string> disk_usage(int parent_fd, const std::string& name);

// Removes the tree at `name` inside `parent_fd` without following symbolic links. Folders the
// owner may not read or change are given the owner's permissions first, so read-only trees go
// too. A missing tree counts as removed. The error names the entry that could not be removed,
// relative to the tree.
std::expected<void, std::string> remove_tree(int parent_fd, const std::string& name);

}
