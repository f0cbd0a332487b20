#pragma once

#include "kavo_ui/events.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The automation endpoint: a Unix stream socket on which a process of the same user drives the
// window with one JSON request per line and reads one JSON reply per line.
namespace kavo_ui::automation {

// Where the endpoint listens: KAVO_UI_AUTOMATION_SOCKET when it is set and not empty; nowhere when
// it is set but empty; else $XDG_RUNTIME_DIR/kavo-ui/<app-id>.<pid>.sock, and nowhere when
// XDG_RUNTIME_DIR is unset, empty or relative.
std::optional<std::filesystem::path> socket_path(std::string_view app_id);

struct InvokeRequest {
    std::string action;
    std::optional<int> effect_class;  // 0…255; absent when the caller gave none
    nlohmann::ordered_json payload;
    nlohmann::ordered_json args;  // always an object
};

// What the endpoint asks of the window. Every call comes on the UI thread, from
// Server::process_pending.
class HostOps {
public:
    virtual ~HostOps() = default;

    virtual std::string app_id() const = 0;
    // The root widget's observer snapshot; null when it gives none.
    virtual nlohmann::ordered_json snapshot() = 0;
    virtual nlohmann::ordered_json accessibility() = 0;
    virtual nlohmann::ordered_json resources() = 0;
    // The action's result value (null when it has none) or the dispatch's failure text.
    virtual std::expected<nlohmann::ordered_json, std::string> invoke(const InvokeRequest& request) = 0;
    // Handles the events as window-system input, runs one frame and returns its number.
    virtual uint64_t input(const std::vector<Event>& events) = 0;
    virtual uint64_t frame() = 0;
    // Resizes the window (logical pixels), lays it out, runs one frame and returns its number.
    virtual uint64_t resize(float width, float height) = 0;
    // Writes the window, overlay included, as PNG; the written path or an error text.
    virtual std::expected<std::string, std::string> screenshot(const std::filesystem::path& path) = 0;
    virtual nlohmann::ordered_json search(const std::string& query, size_t limit) = 0;
    // Asks the host to close the window. The host ends its loop once process_pending returns; the
    // reply to the quit request is written when the Server is destroyed, if not before.
    virtual void quit() = 0;
};

inline constexpr size_t k_max_line_bytes = size_t(1) << 20;
inline constexpr size_t k_default_search_limit = 20;
inline constexpr size_t k_max_search_limit = 500;
inline constexpr float k_max_window_extent = 16384;

// Answers one request: {"id": X, "ok": true, "result": ...} or {"id": X, "ok": false,
// "error": "text"}, with the request's id echoed (null when it has none). Never throws: an
// unknown op, a missing or ill-typed parameter and an exception from the host all become error
// replies.
nlohmann::ordered_json dispatch(const nlohmann::ordered_json& request, HostOps& host);

// The events of an input request, or a text that names the first bad event and what is wrong.
std::expected<std::vector<Event>, std::string> parse_events(const nlohmann::ordered_json& events);

// Listens on the socket on threads of its own and hands each request to the UI thread.
//
// The host drives it like this, all on the UI thread:
//   1. start() once the window exists (a failure is worth a warning, not an abort);
//   2. whenever a frame runs (the server calls kavo_ui::wake() for every request it queues),
//      process_pending(ops) when has_pending() says so;
//   3. after HostOps::quit() was called, leave the loop and destroy the Server.
// The destructor stops accepting, writes the replies already produced, answers requests that
// were never processed with an error, closes every connection, joins its threads and removes
// the socket file.
class Server {
public:
    // Creates the socket's folder (0700) when it is missing, refuses a folder that is not ours or
    // that others may write to, replaces a stale socket left by a dead process (never a live
    // one, never a file that is not a socket), binds with mode 0600 and starts listening.
    static std::expected<std::unique_ptr<Server>, std::string> start(const std::filesystem::path& socket_path);

    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    const std::filesystem::path& path() const;

    // Dispatches the requests queued so far, in arrival order, and hands each reply to its
    // connection. Requests that arrive meanwhile wait for the next call. Once a quit request was
    // answered, later requests get an error reply instead of reaching the host.
    void process_pending(HostOps& host);
    bool has_pending() const;

private:
    struct State;
    explicit Server(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

}
