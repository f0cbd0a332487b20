#pragma once

#include "model/directory_entry.hpp"

#include <string>

namespace files::model {

// The Size column: "—" for a folder, else the formatted byte count.
std::string size_text(const DirectoryEntry& entry);
// The Modified column: "—" without a time, else the local time in the locale's format.
std::string modified_text(const DirectoryEntry& entry);

}
