#pragma once

#include "model/directory_entry.hpp"

#include "kavo_ui/geometry.hpp"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace files::command {

// What a child widget asks the explorer for. The views never change explorer state themselves.
struct ItemClicked {
    size_t index;
    bool primary;
    bool shift;
};
// A plain press on an entry: what it leads to (opening on a second press, a drag) is the
// explorer's decision.
struct PressOnItem {
    std::filesystem::path path;
    bool is_folder;
    kavo_ui::Point position;
};
struct ContextMenuOnItem {
    size_t index;
};
struct MoveSelection {
    size_t index;
    bool extend;
};
struct SortByColumn {
    model::SortBy key;
};
struct DragStart {
    std::filesystem::path path;
    bool is_folder;
    kavo_ui::Point position;
};
struct OpenFolder {
    std::filesystem::path path;
};
// The sidebar's requests.
struct OpenPlace {
    std::filesystem::path path;
};
struct FavouriteContextMenu {
    std::filesystem::path path;
    kavo_ui::Point position;
};
struct ReorderFavourites {
    size_t from;
    size_t to;
};
// The path bar's requests.
struct OpenCrumb {
    std::filesystem::path path;
};
struct OpenTypedPath {
    std::filesystem::path path;
};
struct Retry {};
// A toolbar control was activated: its action id, and for the view-mode toggle the segment.
struct ControlActivated {
    std::string action;
    std::optional<size_t> index;
};

using Request = std::variant<ItemClicked, PressOnItem, ContextMenuOnItem, MoveSelection, SortByColumn, DragStart, OpenFolder,
                             OpenPlace, FavouriteContextMenu, ReorderFavourites, OpenCrumb, OpenTypedPath, Retry,
                             ControlActivated>;

// First-in first-out, shared by handle between the root and its children (UI thread only).
class RequestQueue {
public:
    // Built in place: no temporary Request is moved (which also keeps GCC's uninitialised-variant
    // false positive away).
    template <class R>
    void push(R&& request)
    {
        m_items.emplace_back(std::forward<R>(request));
    }
    bool empty() const { return m_items.empty(); }
    // Everything queued so far, oldest first; requests pushed while these run wait for the next drain.
    std::vector<Request> drain() { return std::exchange(m_items, {}); }

private:
    std::vector<Request> m_items;
};

using RequestQueueHandle = std::shared_ptr<RequestQueue>;

}
