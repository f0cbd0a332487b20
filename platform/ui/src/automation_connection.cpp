#include "automation_connection.hpp"

#include "automation_quote.hpp"
#include "automation_reply.hpp"
#include "kavo_ui/automation.hpp"

#include <cerrno>
#include <fmt/format.h>
#include <poll.h>
#include <spdlog/spdlog.h>
#include <sys/socket.h>

namespace kavo_ui::automation {

namespace {

constexpr size_t k_read_chunk = 64 * 1024;
// Deeper requests are refused before parsing: copying and printing JSON recurse, and nothing the
// endpoint accepts comes close to this.
constexpr size_t k_max_nesting = 100;
constexpr size_t k_max_parse_error_bytes = 200;

bool nested_deeper_than(std::string_view text, size_t limit)
{
    size_t depth = 0;
    bool in_string = false;
    bool escaped = false;
    for (char c : text) {
        if (in_string) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

bool is_blank(std::string_view line)
{
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// The parser's message without its "[json.exception.parse_error.101] " prefix.
std::string parse_error_text(const nlohmann::ordered_json::parse_error& e)
{
    std::string_view what = e.what();
    if (auto end = what.find("] "); what.starts_with("[json.exception.") && end != std::string_view::npos)
        what.remove_prefix(end + 2);
    return shortened(what, k_max_parse_error_bytes);
}

}

std::shared_ptr<Connection> Connection::create(UniqueFd socket, RequestQueue& queue, int stop_fd)
{
    UniqueFd reply_event = make_event();
    if (!reply_event)
        return nullptr;
    return std::shared_ptr<Connection>(new Connection(std::move(socket), std::move(reply_event), queue, stop_fd));
}

Connection::Connection(UniqueFd socket, UniqueFd reply_event, RequestQueue& queue, int stop_fd)
    : m_socket(std::move(socket))
    , m_reply_event(std::move(reply_event))
    , m_queue(queue)
    , m_stop_fd(stop_fd)
{
}

Connection::~Connection() { join(); }

void Connection::start()
{
    m_thread = std::thread([this] { run(); });
}

void Connection::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void Connection::deliver(std::string reply_line)
{
    {
        std::lock_guard lock(m_reply_mutex);
        m_reply = std::move(reply_line);
    }
    signal_event(m_reply_event.get());
}

std::optional<std::string> Connection::take_reply()
{
    std::lock_guard lock(m_reply_mutex);
    return std::exchange(m_reply, std::nullopt);
}

void Connection::run()
{
    while (step() == Step::Continue) {
    }
    // Shut down before closing so that the client sees the end of the stream after the last
    // reply even if it still had requests on the way.
    ::shutdown(m_socket.get(), SHUT_RDWR);
    m_socket.reset();
    m_finished = true;
}

Connection::Step Connection::step()
{
    if (m_awaiting_reply)
        return await_reply();
    if (is_readable(m_stop_fd))
        return Step::Close;
    if (size_t newline = m_buffer.find('\n', m_scanned); newline != std::string::npos) {
        if (newline > k_max_line_bytes)
            return refuse_long_line();
        std::string line = m_buffer.substr(0, newline);
        m_buffer.erase(0, newline + 1);
        m_scanned = 0;
        return handle_line(line);
    }
    m_scanned = m_buffer.size();
    if (m_buffer.size() > k_max_line_bytes)
        return refuse_long_line();
    if (m_peer_closed) {
        if (m_buffer.empty())
            return Step::Close;
        // A last request without its newline is still a request.
        std::string line = std::exchange(m_buffer, {});
        m_scanned = 0;
        return handle_line(line);
    }
    return read_more();
}

Connection::Step Connection::await_reply()
{
    for (;;) {
        if (auto reply = take_reply()) {
            clear_event(m_reply_event.get());
            m_awaiting_reply = false;
            return send_all(m_socket.get(), *reply, m_stop_fd) ? Step::Continue : Step::Close;
        }
        // The server answers every queued request before it signals stop, so a stop without a
        // reply only happens when something went wrong; never wait forever on it.
        if (is_readable(m_stop_fd) && !is_readable(m_reply_event.get()))
            return Step::Close;
        pollfd fds[2] = {{m_reply_event.get(), POLLIN, 0}, {m_stop_fd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return Step::Close;
    }
}

Connection::Step Connection::read_more()
{
    pollfd fds[2] = {{m_socket.get(), POLLIN, 0}, {m_stop_fd, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0)
        return errno == EINTR ? Step::Continue : Step::Close;
    if (fds[1].revents & POLLIN)
        return Step::Close;
    size_t old_size = m_buffer.size();
    m_buffer.resize(old_size + k_read_chunk);
    ssize_t n = ::recv(m_socket.get(), m_buffer.data() + old_size, k_read_chunk, MSG_DONTWAIT);
    m_buffer.resize(old_size + size_t(std::max<ssize_t>(n, 0)));
    if (n > 0)
        return Step::Continue;
    if (n == 0) {
        m_peer_closed = true;
        return Step::Continue;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return Step::Continue;
    return Step::Close;
}

Connection::Step Connection::handle_line(std::string_view line)
{
    if (is_blank(line))
        return Step::Continue;
    if (nested_deeper_than(line, k_max_nesting))
        return send_error(fmt::format("request nested deeper than {} levels", k_max_nesting));
    nlohmann::ordered_json request;
    try {
        request = nlohmann::ordered_json::parse(line);
    } catch (const nlohmann::ordered_json::parse_error& e) {
        return send_error(fmt::format("invalid JSON: {}", parse_error_text(e)));
    }
    if (!request.is_object())
        return send_error("a request must be a JSON object");
    nlohmann::ordered_json id = request.value("id", nlohmann::ordered_json());
    if (!m_queue.push({shared_from_this(), std::move(request)}))
        return send_error(std::move(id), "the application is closing");
    m_awaiting_reply = true;
    return Step::Continue;
}

// The rest of such a line cannot be told from the next request, so the connection ends here.
Connection::Step Connection::refuse_long_line()
{
    send_error("request line longer than 1 MiB");
    return Step::Close;
}

Connection::Step Connection::send_error(std::string text) { return send_error(nlohmann::ordered_json(), std::move(text)); }

Connection::Step Connection::send_error(nlohmann::ordered_json id, std::string text)
{
    bool sent = send_all(m_socket.get(), reply_line(error_reply(std::move(id), std::move(text))), m_stop_fd);
    return sent ? Step::Continue : Step::Close;
}

}
