#pragma once

#include "model/directory_entry.hpp"

#include <nlohmann/json.hpp>

#include <string>

namespace files::app {
class FileExplorerWidget;
}

namespace files::native_observer {

// SHA-256 over the names and kinds of the entries in display order, as 64 lowercase hex digits.
std::string order_hash(const model::EntryList& entries);

// The view-state snapshot: what the explorer shows, for observers that do not read pixels.
nlohmann::ordered_json build_snapshot(const app::FileExplorerWidget& explorer);

}
