#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
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
struct OpenItem {
    size_t index;
};
struct OpenFolder {
    std::filesystem::path path;
};
struct Retry {};

using Request = std::variant<ItemClicked, OpenItem, OpenFolder, Retry>;

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
