#include "automation_request_queue.hpp"

#include "kavo_ui/wake.hpp"

namespace kavo_ui::automation {

bool RequestQueue::push(PendingRequest request)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_requests.push_back(std::move(request));
    }
    kavo_ui::wake();
    return true;
}

std::deque<PendingRequest> RequestQueue::take_all()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_requests, {});
}

std::deque<PendingRequest> RequestQueue::close()
{
    std::lock_guard lock(m_mutex);
    m_closed = true;
    return std::exchange(m_requests, {});
}

bool RequestQueue::empty() const
{
    std::lock_guard lock(m_mutex);
    return m_requests.empty();
}

}
