#include "files_app/entry_actions.hpp"

#include "fileops/archive_kind.hpp"

#include <algorithm>
#include <string>

namespace files::app {

bool is_extractable_archive(const model::DirectoryEntry& entry)
{
    return !entry.is_folder && fileops::archive_kind(entry.path).has_value();
}

std::vector<EntryItem> entry_items(const FolderSituation& situation, std::span<const model::DirectoryEntry* const> selection)
{
    std::vector<EntryItem> items;
    if (selection.empty())
        return items;
    if (situation.in_archive)
        return {EntryItem::Open};
    if (situation.in_trash)
        return {EntryItem::Open, EntryItem::Restore, EntryItem::DeletePermanently};

    auto any = [&](auto pred) { return std::any_of(selection.begin(), selection.end(), [&](const auto* e) { return pred(*e); }); };
    bool single = selection.size() == 1;
    items = {EntryItem::Open, EntryItem::Rename, EntryItem::Cut, EntryItem::Copy};
    if (single)
        items.push_back(EntryItem::SendNearby);
    if (any(is_extractable_archive))
        items.push_back(EntryItem::ExtractHere);
    items.push_back(EntryItem::Compress);
    if (single) {
        const auto& e = *selection.front();
        items.push_back(EntryItem::Properties);
        if (e.record_id) {
            items.push_back(EntryItem::ShareLink);
            if (e.share)
                items.push_back(EntryItem::Sharing);
            if (e.availability)
                items.push_back(EntryItem::Availability);
            if (e.history)
                items.push_back(EntryItem::History);
        }
    }
    items.push_back(EntryItem::MoveToTrash);
    return items;
}

}
