#pragma once

#include "model/directory_entry.hpp"

#include <filesystem>
#include <string_view>
#include <vector>

namespace files::model {

// The workspace root folders, computed afresh on every call. When KAVO_WORKSPACE_ROOTS is set it
// alone decides: its ":"-separated existing folders in their order, possibly none. Otherwise
// "/var/workspace" and then the home folder's "Shared", each only when it exists.
std::vector<std::filesystem::path> workspace_roots();

// True when `folder` is one of the roots or lies below one, comparing whole components: "/a/bc"
// is not inside "/a/b". The comparison is lexical; links are not resolved.
bool is_inside_roots(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& roots);

// Dot-files are hidden.
bool is_hidden_name(std::string_view name);

// Drops the entries with hidden names, keeping the order of the others.
void remove_hidden(EntryList& entries);

}
