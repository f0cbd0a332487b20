#pragma once

#include "model/directory_entry.hpp"

#include <span>
#include <vector>

namespace files::app {

// The operations offered for selected entries, in the order the context menu lists them. The
// context menu and the published entry actions both come from entry_items, so they never differ.
enum class EntryItem {
    Open,
    Rename,
    Cut,
    Copy,
    SendNearby,
    ExtractHere,
    Compress,
    KeepOffline,
    AutomaticStorage,
    FreeLocalSpace,
    RetryDownload,
    Properties,
    ShareLink,
    Sharing,
    Availability,
    History,
    Restore,
    DeletePermanently,
    MoveToTrash,
};

struct FolderSituation {
    bool in_archive = false;
    bool in_trash = false;
};

// Whether Files can extract this entry (a ZIP, TAR, compressed TAR or gzip file).
bool is_extractable_archive(const model::DirectoryEntry& entry);

std::vector<EntryItem> entry_items(const FolderSituation& situation, std::span<const model::DirectoryEntry* const> selection);

}
