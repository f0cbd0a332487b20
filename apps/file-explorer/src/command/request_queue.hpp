#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
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
    void push(Request r) { m_items.push_back(std::move(r)); }
    bool empty() const { return m_items.empty(); }
    std::vector<Request> drain()
    {
        std::vector<Request> out(std::make_move_iterator(m_items.begin()), std::make_move_iterator(m_items.end()));
        m_items.clear();
        return out;
    }

private:
    std::deque<Request> m_items;
};

using RequestQueueHandle = std::shared_ptr<RequestQueue>;

}
