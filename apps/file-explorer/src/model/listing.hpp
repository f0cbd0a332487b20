#pragma once

#include "model/directory_entry.hpp"

#include <expected>
#include <filesystem>
#include <string>

namespace files::model {

// The items of `folder` in the order the system enumerates them, without "." and "..", neither
// filtered nor sorted. Each item's own status is read without following symbolic links; an item
// whose status cannot be read is a file of size 0 without a time. Fails only when the folder
// cannot be opened, with the system's error text ("Permission denied (os error 13)").
// `collaborative` says that the folder lies inside a workspace root; only then are the
// collaborative fields read.
std::expected<EntryList, std::string> list_directory(const std::filesystem::path& folder, bool collaborative);

}
