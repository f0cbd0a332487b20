#include "kavo_ui/automation.hpp"

#include "automation_connection.hpp"
#include "automation_io.hpp"
#include "automation_listen_socket.hpp"
#include "automation_reply.hpp"
#include "automation_request_queue.hpp"

#include <cerrno>
#include <exception>
#include <list>
#include <poll.h>
#include <spdlog/spdlog.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace kavo_ui::automation {

namespace {

// Every client is a thread; a handful is what tools and tests use at once.
constexpr size_t k_max_connections = 32;
// Waiting this long before retrying accept() when the process is out of descriptors keeps the
// pending connection from turning the accept loop into a busy loop.
constexpr int k_out_of_descriptors_pause_ms = 100;

bool peer_is_same_user(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.uid == ::geteuid();
}

bool is_quit(const nlohmann::ordered_json& request)
{
    auto op = request.find("op");
    return op != request.end() && *op == "quit";
}

nlohmann::ordered_json request_id(const nlohmann::ordered_json& request) { return request.value("id", nlohmann::ordered_json()); }

}

struct Server::State {
    std::filesystem::path path;
    ListenSocket listener;
    UniqueFd stop_event;
    RequestQueue queue;
    // Touched by the accept thread only, and by the destructor once that thread is joined.
    std::list<std::shared_ptr<Connection>> connections;
    std::thread accept_thread;
    bool quitting = false;  // UI thread only

    void accept_loop();
    void accept_one();
    void reap_finished();
    void stop();
};

void Server::State::accept_loop()
{
    for (;;) {
        pollfd fds[2] = {{listener.fd.get(), POLLIN, 0}, {stop_event.get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN)
            return;
        if (fds[0].revents & POLLIN) {
            try {
                accept_one();
            } catch (const std::exception& e) {
                spdlog::warn("automation: cannot serve a new connection: {}", e.what());
            }
        }
    }
}

void Server::State::accept_one()
{
    UniqueFd fd(::accept4(listener.fd.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!fd) {
        if (errno == EMFILE || errno == ENFILE) {
            pollfd stop{stop_event.get(), POLLIN, 0};
            ::poll(&stop, 1, k_out_of_descriptors_pause_ms);
        }
        return;
    }
    reap_finished();
    if (!peer_is_same_user(fd.get())) {
        spdlog::warn("automation: refused a connection from another user");
        return;
    }
    if (connections.size() >= k_max_connections) {
        send_all(fd.get(), reply_line(error_reply(nullptr, "too many automation connections")), stop_event.get());
        return;
    }
    auto connection = Connection::create(std::move(fd), queue, stop_event.get());
    if (!connection)
        return;
    connections.push_back(connection);
    connection->start();
}

void Server::State::reap_finished()
{
    connections.remove_if([](const std::shared_ptr<Connection>& c) {
        if (!c->finished())
            return false;
        c->join();
        return true;
    });
}

void Server::State::stop()
{
    for (PendingRequest& pending : queue.close())
        pending.connection->deliver(reply_line(error_reply(request_id(pending.request), "the application is closing")));
    signal_event(stop_event.get());
    if (accept_thread.joinable())
        accept_thread.join();
    for (auto& connection : connections)
        connection->join();
    connections.clear();
    remove_socket_file(path, listener);
}

std::expected<std::unique_ptr<Server>, std::string> Server::start(const std::filesystem::path& socket_path)
{
    auto listener = open_listen_socket(socket_path);
    if (!listener)
        return std::unexpected(listener.error());
    auto state = std::make_unique<State>();
    state->path = socket_path;
    state->listener = std::move(*listener);
    state->stop_event = make_event();
    if (!state->stop_event) {
        remove_socket_file(state->path, state->listener);
        return std::unexpected("cannot create the automation stop event");
    }
    try {
        state->accept_thread = std::thread([s = state.get()] { s->accept_loop(); });
    } catch (const std::exception& e) {
        remove_socket_file(state->path, state->listener);
        return std::unexpected(std::string("cannot start the automation thread: ") + e.what());
    }
    return std::unique_ptr<Server>(new Server(std::move(state)));
}

Server::Server(std::unique_ptr<State> state) : m_state(std::move(state)) {}

Server::~Server() { m_state->stop(); }

const std::filesystem::path& Server::path() const { return m_state->path; }

bool Server::has_pending() const { return !m_state->queue.empty(); }

void Server::process_pending(HostOps& host)
{
    for (PendingRequest& pending : m_state->queue.take_all()) {
        nlohmann::ordered_json reply;
        if (m_state->quitting) {
            reply = error_reply(request_id(pending.request), "the application is quitting");
        } else {
            reply = dispatch(pending.request, host);
            if (is_quit(pending.request) && reply.value("ok", false))
                m_state->quitting = true;
        }
        pending.connection->deliver(reply_line(reply));
    }
}

}
