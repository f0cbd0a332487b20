#pragma once

#include <nlohmann/json.hpp>

#include <deque>
#include <memory>
#include <mutex>

namespace kavo_ui::automation {

class Connection;

struct PendingRequest {
    std::shared_ptr<Connection> connection;
    nlohmann::ordered_json request;
};

// Requests on their way from the connection threads to the UI thread, in arrival order.
class RequestQueue {
public:
    // Queues the request and wakes the UI thread; false once the queue is closed, and the
    // caller answers the request itself.
    bool push(PendingRequest request);
    std::deque<PendingRequest> take_all();
    // Refuses later pushes and returns what was never taken.
    std::deque<PendingRequest> close();
    bool empty() const;

private:
    mutable std::mutex m_mutex;
    std::deque<PendingRequest> m_requests;
    bool m_closed = false;
};

}
