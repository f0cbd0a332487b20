#pragma once

#include <string_view>
#include <utility>

namespace kavo_ui::automation {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset();

private:
    int m_fd = -1;
};

// A non-blocking eventfd used as a level-triggered flag: readable from signal() until clear().
UniqueFd make_event();
void signal_event(int event_fd);
void clear_event(int event_fd);

bool is_readable(int fd);

// Writes all of data to a non-blocking socket; false when the peer is gone. A peer that stops
// reading holds the writer back only until stop_fd becomes readable, and then for a short grace
// period, so that shutting down never waits on a client.
bool send_all(int socket_fd, std::string_view data, int stop_fd);

}
