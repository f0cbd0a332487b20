#pragma once

// Helpers shared by the automation tests: a host that records what it is asked, a UI loop that
// drives a real Server the way the window does, and a client that speaks the line protocol.

#include "kavo_ui/automation.hpp"
#include "kavo_ui/wake.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace automation_test {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;
using namespace std::chrono_literals;

class TempDir {
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kavo-automation-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return m_path; }
    fs::path operator/(const fs::path& name) const { return m_path / name; }

private:
    fs::path m_path;
};

// Sets or unsets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        apply(value);
    }
    ~ScopedEnv() { apply(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void apply(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(m_name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

// Records every call; answers predictably so that tests can check what travelled.
class FakeHost : public kavo_ui::automation::HostOps {
public:
    std::string app_id() const override { return "so.kavo.test"; }
    json snapshot() override { return snapshot_value; }
    json accessibility() override { return {{"role", "window"}, {"name", "Test"}}; }
    json resources() override { return json::array({{{"type", "folder"}, {"id", "/tmp"}}}); }
    std::expected<json, std::string> invoke(const kavo_ui::automation::InvokeRequest& request) override
    {
        std::lock_guard lock(mutex);
        invokes.push_back(request);
        if (request.action == "fail")
            return std::unexpected("the action failed");
        if (request.action == "throw")
            throw std::runtime_error("host blew up");
        return json{{"done", request.action}};
    }
    uint64_t input(const std::vector<kavo_ui::Event>& events) override
    {
        std::lock_guard lock(mutex);
        inputs.push_back(events);
        input_arrived.notify_all();
        return ++frames;
    }
    uint64_t frame() override
    {
        std::lock_guard lock(mutex);
        return ++frames;
    }
    uint64_t resize(float width, float height) override
    {
        std::lock_guard lock(mutex);
        sizes.push_back({width, height});
        return ++frames;
    }
    std::expected<std::string, std::string> screenshot(const fs::path& path) override
    {
        if (path.filename() == "denied.png")
            return std::unexpected("cannot write denied.png");
        return path.string();
    }
    json search(const std::string& query, size_t limit) override { return {{"query", query}, {"limit", limit}}; }
    void quit() override
    {
        std::lock_guard lock(mutex);
        quit_called = true;
    }

    bool has_quit()
    {
        std::lock_guard lock(mutex);
        return quit_called;
    }
    size_t input_count()
    {
        std::lock_guard lock(mutex);
        return inputs.size();
    }
    bool wait_for_inputs(size_t count, std::chrono::milliseconds timeout = 10s)
    {
        std::unique_lock lock(mutex);
        return input_arrived.wait_for(lock, timeout, [&] { return inputs.size() >= count; });
    }

    std::mutex mutex;
    std::condition_variable input_arrived;
    json snapshot_value;
    std::vector<kavo_ui::automation::InvokeRequest> invokes;
    std::vector<std::vector<kavo_ui::Event>> inputs;
    std::vector<kavo_ui::Size> sizes;
    uint64_t frames = 0;
    bool quit_called = false;
};

// Counts kavo_ui::wake() calls, so that a test can wait until requests are queued without
// running them.
class WakeCounter {
public:
    WakeCounter()
    {
        kavo_ui::detail::set_wake_handler([this] {
            std::lock_guard lock(m_mutex);
            ++m_count;
            m_changed.notify_all();
        });
    }
    ~WakeCounter() { kavo_ui::detail::set_wake_handler(nullptr); }
    WakeCounter(const WakeCounter&) = delete;
    WakeCounter& operator=(const WakeCounter&) = delete;

    bool wait_for(size_t count, std::chrono::milliseconds timeout = 10s)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_count >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_count = 0;
};

// The UI thread of a window: sleeps until woken, processes what is pending and, once the host
// was asked to quit, destroys the server and ends, as the window host does.
class HostLoop {
public:
    HostLoop(std::unique_ptr<kavo_ui::automation::Server> server, FakeHost& host)
        : m_server(std::move(server)), m_host(host)
    {
        kavo_ui::detail::set_wake_handler([this] {
            std::lock_guard lock(m_mutex);
            m_woken = true;
            m_changed.notify_all();
        });
        m_thread = std::thread([this] { run(); });
    }
    ~HostLoop() { stop(); }
    HostLoop(const HostLoop&) = delete;
    HostLoop& operator=(const HostLoop&) = delete;

    // Ends the loop; the server is destroyed on the loop's thread.
    void stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_changed.notify_all();
        }
        if (m_thread.joinable())
            m_thread.join();
        kavo_ui::detail::set_wake_handler(nullptr);
    }

    bool wait_until_ended(std::chrono::milliseconds timeout = 10s)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_ended; });
    }

private:
    void run()
    {
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_woken || m_stopping; });
                if (m_stopping && !m_woken)
                    break;
                m_woken = false;
            }
            m_server->process_pending(m_host);
            if (m_host.has_quit())
                break;
        }
        m_server.reset();
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_changed.notify_all();
    }

    std::unique_ptr<kavo_ui::automation::Server> m_server;
    FakeHost& m_host;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_woken = false;
    bool m_stopping = false;
    bool m_ended = false;
};

// A socket file the way a crashed process leaves it: bound, never listened on, closed.
inline void leave_stale_socket(const fs::path& path)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    ::close(fd);
}

// One connection speaking newline-terminated JSON.
class Client {
public:
    explicit Client(const fs::path& socket_path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket_path.c_str(), sizeof address.sun_path - 1);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~Client()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return m_fd >= 0; }

    bool send_raw(std::string_view bytes)
    {
        while (!bytes.empty()) {
            ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }
    bool send_line(const json& request) { return send_raw(request.dump() + "\n"); }
    void finish_sending() { ::shutdown(m_fd, SHUT_WR); }

    // The next line without its newline; nothing at the end of the stream or after the timeout.
    std::optional<std::string> read_line(std::chrono::milliseconds timeout = 10s)
    {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (auto newline = m_buffer.find('\n'); newline != std::string::npos) {
                std::string line = m_buffer.substr(0, newline);
                m_buffer.erase(0, newline + 1);
                return line;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{m_fd, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0)
                return std::nullopt;
            char chunk[65536];
            ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                return std::nullopt;
            m_buffer.append(chunk, size_t(n));
        }
    }

    std::optional<json> read_reply(std::chrono::milliseconds timeout = 10s)
    {
        auto line = read_line(timeout);
        if (!line)
            return std::nullopt;
        return json::parse(*line);
    }

    json request(const json& request)
    {
        EXPECT_TRUE(send_line(request));
        auto reply = read_reply();
        EXPECT_TRUE(reply.has_value()) << "no reply to " << request.dump();
        return reply.value_or(json());
    }

    // True when the server closed the connection (end of stream or reset) within the timeout.
    bool closed_by_server(std::chrono::milliseconds timeout = 10s)
    {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, int(timeout.count())) <= 0)
            return false;
        char byte;
        ssize_t n = ::recv(m_fd, &byte, 1, 0);
        return n == 0 || (n < 0 && errno == ECONNRESET);
    }

private:
    int m_fd = -1;
    std::string m_buffer;
};

}
