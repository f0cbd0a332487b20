#pragma once

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavo_testing {

inline constexpr uid_t k_unprivileged_id = 65534;
// Exit status of the child when it could not give up its privileges.
inline constexpr int k_drop_failed = 125;
// Exit status of the child when the step threw.
inline constexpr int k_step_threw = 126;

namespace detail {

// Root ignores permission bits, so a permission check is only real without root. A run that is
// not root is unprivileged already and keeps its identity.
inline bool drop_privileges()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setresgid(k_unprivileged_id, k_unprivileged_id, k_unprivileged_id) == 0
        && ::setresuid(k_unprivileged_id, k_unprivileged_id, k_unprivileged_id) == 0;
}

// Forks a child that drops its privileges, runs `step` and leaves with its result through
// _exit, so nothing of the parent's (stdio buffers, test results, leak checks) runs twice.
inline pid_t start_unprivileged(const std::function<int()>& step)
{
    pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (!drop_privileges())
        ::_exit(k_drop_failed);
    int result = k_step_threw;
    try {
        result = step();
    } catch (...) {
    }
    ::_exit(result & 0xFF);
}

inline int wait_for(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}

// Runs `step` in a forked child that has dropped to uid and gid 65534 without supplementary
// groups, and returns the child's exit status: the step's result (0…255), k_drop_failed,
// k_step_threw, 128 + the signal that ended it, or -1 when no child could be started.
inline int run_unprivileged(const std::function<int()>& step)
{
    pid_t pid = detail::start_unprivileged(step);
    return pid < 0 ? -1 : detail::wait_for(pid);
}

// The same for a step that produces a text, which comes back through a pipe; nullopt when the
// child could not drop its privileges, threw or died.
inline std::optional<std::string> run_unprivileged_text(const std::function<std::string()>& step)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    pid_t pid = detail::start_unprivileged([&] {
        ::close(fds[0]);
        std::string text = step();
        for (size_t sent = 0; sent < text.size();) {
            ssize_t n = ::write(fds[1], text.data() + sent, text.size() - sent);
            if (n <= 0)
                return 1;
            sent += static_cast<size_t>(n);
        }
        return 0;
    });
    ::close(fds[1]);
    // Read to the end before waiting, so that a long text cannot fill the pipe and stall the child.
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    if (pid < 0 || detail::wait_for(pid) != 0)
        return std::nullopt;
    return text;
}

}
