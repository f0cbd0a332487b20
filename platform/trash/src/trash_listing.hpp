#pragma once

#include "kavo_trash/trash.hpp"
#include "trash_location.hpp"

#include <expected>
#include <string>
#include <vector>

namespace kavo_trash {

// Appends the items of one trash, sorted by name. Info files that do not parse, or whose item
// is missing from files/, are passed over. Fails only when the trash's folders exist but
// cannot be read; a trash without them is empty.
std::expected<void, std::string> list_trash_root(const TrashRoot& root, std::vector<TrashedItem>& out);

}
