#pragma once

#include "model/directory_entry.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace files::app {

// Every operation the window can run. Buttons, menu items, keys, the views' requests and the
// platform's invocations all build one of these and hand it to the one execution.
namespace cmd {

struct Refresh {};
struct GoUp {};
struct GoBack {};
struct GoForward {};
struct OpenTerminal {};
struct ToggleHidden {};
struct SetViewMode {
    model::ViewMode mode;
};
struct SetSort {
    model::SortBy key;
};
struct SetSortOrder {
    model::SortOrder order;
};
struct Zoom {
    int step_change;  // +1, −1, or 0 to reset
};
struct ShowShortcuts {};
struct AddFavorite {
    std::filesystem::path folder;
};
struct RemoveFavorite {
    std::filesystem::path folder;
};
struct NewFolder {
    std::string name;
};
struct Paste {};
struct UndoTrash {};
struct EmptyTrash {};
struct OpenEntry {
    size_t index;
};
struct OpenPath {
    std::filesystem::path path;
};
struct RenameEntry {
    size_t index;
    std::string new_name;  // empty: open the inline name field
};
struct NewFromTemplate {
    std::filesystem::path template_path;
};

// The entry operations that act on the selected entries.
enum class EntryOp {
    Restore,
    Purge,
    Properties,
    Copy,
    Cut,
    Trash,
    Sharing,
    History,
    Compress,
    Extract,
    Availability,
    KeepOffline,
    AutomaticStorage,
    FreeLocalSpace,
    RetryTransfer,
    SendNearby,
};
struct EntryAction {
    EntryOp op;
    std::vector<size_t> indices;
};

}

using Command = std::variant<cmd::Refresh, cmd::GoUp, cmd::GoBack, cmd::GoForward, cmd::OpenTerminal, cmd::ToggleHidden,
                             cmd::SetViewMode, cmd::SetSort, cmd::SetSortOrder, cmd::Zoom, cmd::ShowShortcuts, cmd::AddFavorite,
                             cmd::RemoveFavorite, cmd::NewFolder, cmd::Paste, cmd::UndoTrash, cmd::EmptyTrash, cmd::OpenEntry,
                             cmd::OpenPath, cmd::RenameEntry, cmd::NewFromTemplate, cmd::EntryAction>;

// The kinds of the "files.entry-command" payload ("restore", "purge", …).
std::optional<cmd::EntryOp> entry_op_from_kind(std::string_view kind);
std::string_view kind_of(cmd::EntryOp op);

// Whether a command changes files (and so is refused inside a browsed archive).
bool changes_files(const Command& command);

}
