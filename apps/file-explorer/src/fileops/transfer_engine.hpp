#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

enum class TransferMode { Copy, Move };

// Removes the item at `path`: a folder with its whole tree, anything else (file, link) by
// unlinking it; links are never followed. An item that does not exist counts as removed.
std::expected<void, std::string> remove_path(const std::filesystem::path& path);

// Copies the item at `source` to `target`, which must not exist. The source is read only through
// folder handles and never through a link: a link is copied as a link with the same target text,
// a folder with its whole tree, a regular file with its exact content and permission bits
// (set-user-ID and set-group-ID only where the copy keeps the owner and the group); anything else,
// or an entry that changes type while it is copied, fails the copy. Nothing existing is replaced.
// On failure, whatever was copied so far stays at `target` for the caller to remove.
std::expected<void, std::string> copy_tree(const std::filesystem::path& source, const std::filesystem::path& target);

// Copies or moves one item into `destination_folder` and returns where it ended up: under its own
// name, or the first free numbered name ("notes 2.txt") when that is taken. Never replaces an
// item and never shows a partly written item under its final name: a copy is written into a
// hidden ".kavo-transfer-…" folder inside the destination and renamed into place. A move within
// one file system is a single rename; across file systems the source is set aside under a hidden
// ".kavo-transfer-source-…" name and deleted only once the copy is complete, and restored from the
// copy when the item cannot be placed. Runs to completion on the calling thread.
std::expected<std::filesystem::path, std::string> transfer_item(const std::filesystem::path& source,
                                                                const std::filesystem::path& destination_folder,
                                                                TransferMode mode);

}
