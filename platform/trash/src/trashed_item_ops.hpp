#pragma once

#include "kavo_trash/trash.hpp"

#include <expected>
#include <string>

namespace kavo_trash {

// Both first check that the item is still the one that was listed: an entry of a trash's own
// files/ folder whose info file still records the same original path. An item restored or
// purged by someone else meanwhile, or whose name was reused since, is "no longer in the
// Trash" rather than something else acted on by mistake.

// Renames the item back without replacing anything, then drops its info file and size line.
std::expected<void, std::string> restore_item(const TrashedItem& item);

// Removes the item's tree, then its info file and size line.
std::expected<void, std::string> purge_item(const TrashedItem& item);

}
