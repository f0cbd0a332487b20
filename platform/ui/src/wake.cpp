#include "kavo_ui/wake.hpp"

#include <memory>
#include <mutex>

namespace kavo_ui {

namespace {
std::mutex g_mutex;
std::shared_ptr<std::function<void()>> g_handler;
}

void wake()
{
    std::shared_ptr<std::function<void()>> handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    if (handler)
        (*handler)();
}

void detail::set_wake_handler(std::function<void()> handler)
{
    std::lock_guard lock(g_mutex);
    g_handler = handler ? std::make_shared<std::function<void()>>(std::move(handler)) : nullptr;
}

}
