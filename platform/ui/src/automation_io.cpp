#include "automation_io.hpp"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kavo_ui::automation {

namespace {
// Long enough for a reader that is merely slow to take a large reply, short enough for shutdown.
constexpr std::chrono::milliseconds k_shutdown_grace{2000};
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        reset();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

void UniqueFd::reset()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

UniqueFd make_event() { return UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)); }

void signal_event(int event_fd)
{
    uint64_t one = 1;
    // The only failure is a counter at its maximum, which is still readable.
    [[maybe_unused]] ssize_t n = ::write(event_fd, &one, sizeof one);
}

void clear_event(int event_fd)
{
    uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(event_fd, &value, sizeof value);
}

bool is_readable(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
}

bool send_all(int socket_fd, std::string_view data, int stop_fd)
{
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> deadline;
    while (!data.empty()) {
        ssize_t n = ::send(socket_fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data.remove_prefix(size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return false;
        pollfd fds[2] = {{socket_fd, POLLOUT, 0}, {stop_fd, POLLIN, 0}};
        int timeout = -1;
        if (deadline) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            timeout = int(left.count());
        }
        int ready = ::poll(fds, deadline ? 1 : 2, timeout);
        if (ready < 0 && errno != EINTR)
            return false;
        if (!deadline && (fds[1].revents & POLLIN))
            deadline = Clock::now() + k_shutdown_grace;
    }
    return true;
}

}
