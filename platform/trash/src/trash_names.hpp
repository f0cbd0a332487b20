#pragma once

#include <string>
#include <string_view>

namespace kavo_trash {

// The longest NAME whose NAME.trashinfo still fits in one file-name component.
inline constexpr std::size_t k_max_trash_name_bytes = 255 - std::string_view(".trashinfo").size();

// The name for attempt `n` (from 1) of putting an item called `name` into a trash: the name
// itself, then "stem.2.ext", "stem.3.ext", … so that the extension stays last. A name too long
// to leave room for ".trashinfo" is shortened in its stem, never inside a UTF-8 sequence.
std::string trash_name(std::string_view name, unsigned n);

}
