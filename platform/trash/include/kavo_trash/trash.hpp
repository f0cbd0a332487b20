#pragma once

#include <cstddef>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The user's trash cans: the home trash below the XDG data directory and the per-user trash of
// each other mounted file system ($topdir/.Trash/$uid or $topdir/.Trash-$uid). Nothing here
// ever replaces an existing file: info files are created exclusively and items are moved with a
// no-replace rename. Every function runs synchronously on the caller's thread; failure texts are
// plain English and name the path that failed.
namespace kavo_trash {

struct TrashedItem {
    std::filesystem::path trash_root;    // the trash folder holding files/ and info/
    std::filesystem::path files_path;    // <trash_root>/files/NAME, the item itself
    std::filesystem::path info_path;     // <trash_root>/info/NAME.trashinfo
    std::filesystem::path original_path; // absolute; where restore puts the item back
    std::string deletion_date;           // "YYYY-MM-DDThh:mm:ss" local time, empty when unreadable
};

// $XDG_DATA_HOME/Trash, else ~/.local/share/Trash; nullopt when no data folder can be found.
// The folder need not exist yet.
std::optional<std::filesystem::path> home_trash();

// Moves each item to the trash of its file system: the home trash when the item lives on the
// home trash's device, else the trash in the top folder of the item's mount. An item for which
// no trash on its own file system can be used is not trashed; nothing is ever copied across
// devices. Returns the created files/ paths in the order of `paths`. On a failure the remaining
// items are left alone and the error names the failed item; items before it stay trashed.
std::expected<std::vector<std::filesystem::path>, std::string> trash_paths(const std::vector<std::filesystem::path>& paths);

// Every item of the home trash, then of the top-folder trashes of the mounted file systems,
// each trash sorted by name. Info files that cannot be read or parsed, or whose item is gone,
// are skipped; entries of files/ without an info file are not items. Fails only when the home
// trash exists but cannot be read.
std::expected<std::vector<TrashedItem>, std::string> list_trashed();

// Puts each item back at its original path, creating missing parent folders, and never
// replacing what is there now. Returns how many were restored; when any item fails, the others
// are still restored and the error lists the failures as "path: reason" joined with "; ".
std::expected<std::size_t, std::string> restore(const std::vector<TrashedItem>& items);

// Deletes each item (folders recursively, never following symbolic links, making read-only
// folders writable on the way) and its info file. Same counting and error convention as restore.
std::expected<std::size_t, std::string> purge(const std::vector<TrashedItem>& items);

}
