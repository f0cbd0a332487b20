#include "files_app/entry_actions.hpp"

#include <algorithm>
#include <cctype>
#include <string>

namespace files::app {

namespace {

bool ends_with_ci(std::string_view s, std::string_view suffix)
{
    if (s.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), s.end() - long(suffix.size()),
                      [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

}

bool is_extractable_archive(const model::DirectoryEntry& entry)
{
    if (entry.is_folder)
        return false;
    for (std::string_view suffix : {".zip", ".tar", ".tar.gz", ".tgz", ".gz"})
        if (ends_with_ci(entry.name, suffix))
            return true;
    return false;
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
