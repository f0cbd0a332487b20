#pragma once

#include "model/directory_entry.hpp"

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

// The children of `inner_folder` (a path inside the archive; empty for its top) as a read-only
// folder: every member is read with the limits and the entry path rule of extraction and
// nothing is written. A file member directly below gives a file child with its declared size; a
// folder member or any deeper member gives a folder child (folders that exist only through
// deeper paths are listed too), each name once. A child's path is archive / inner folder / name,
// so that listing it again goes one level down. Folders have size 0; the MIME type comes from
// the name's extension; the time is the member's own when it carries one. In archive order.
std::expected<model::EntryList, std::string> list_archive_folder(const std::filesystem::path& archive,
                                                                 const std::filesystem::path& inner_folder);

}
