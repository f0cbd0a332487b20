#pragma once

#include "trash_location.hpp"

#include <expected>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace kavo_trash {

// An item about to be trashed: its path with the parent folder resolved (the item itself may
// be a symbolic link, which is trashed as a link) and what lstat says of it.
struct ItemToTrash {
    std::filesystem::path real_path;
    struct stat status {};
};

std::expected<ItemToTrash, std::string> locate_item(const std::filesystem::path& given);

// Refuses the trash itself, anything inside it and any folder holding it.
std::expected<void, std::string> check_outside_trash(const ItemToTrash& item, const TrashRoot& root);

// Writes the info file exclusively under the first free name, then renames the item next to it
// without replacing anything; a name that turns out taken in files/ moves on to the next one.
// On failure no info file is left behind. Returns the item's new path in files/.
std::expected<std::filesystem::path, std::string> move_into_trash(const ItemToTrash& item, const TrashRoot& root);

}
