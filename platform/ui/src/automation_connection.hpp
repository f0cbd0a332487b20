#pragma once

#include "automation_io.hpp"
#include "automation_request_queue.hpp"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace kavo_ui::automation {

// One client: a thread that reads request lines, queues them for the UI thread one at a time and
// writes each reply before it reads the next request, so replies keep the order of requests.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    // stop_fd must stay open until join() returned.
    static std::shared_ptr<Connection> create(UniqueFd socket, RequestQueue& queue, int stop_fd);
    ~Connection();

    void start();
    // Called when the thread has returned or will return soon; true once it is safe to join.
    bool finished() const { return m_finished.load(); }
    void join();

    // Hands over the reply to the request this connection queued. Callable from any thread.
    void deliver(std::string reply_line);

private:
    Connection(UniqueFd socket, UniqueFd reply_event, RequestQueue& queue, int stop_fd);

    enum class Step { Continue, Close };

    void run();
    Step step();
    Step await_reply();
    Step read_more();
    Step handle_line(std::string_view line);
    Step refuse_long_line();
    Step send_error(std::string text);
    Step send_error(nlohmann::ordered_json id, std::string text);
    std::optional<std::string> take_reply();

    UniqueFd m_socket;
    UniqueFd m_reply_event;
    RequestQueue& m_queue;
    int m_stop_fd;
    std::thread m_thread;
    std::atomic<bool> m_finished{false};

    std::mutex m_reply_mutex;
    std::optional<std::string> m_reply;

    // Owned by the connection thread.
    std::string m_buffer;
    size_t m_scanned = 0;
    bool m_awaiting_reply = false;
    bool m_peer_closed = false;
};

}
