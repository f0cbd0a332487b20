#include "kavo_ui/host.hpp"

#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kavo_ui::host {

namespace {

std::optional<std::filesystem::path> find_in_path(std::string_view program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    std::string_view rest(path);
    while (!rest.empty()) {
        size_t colon = rest.find(':');
        std::string_view dir = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        if (dir.empty())
            continue;
        std::filesystem::path candidate = std::filesystem::path(dir) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

// Opens documents with the desktop's opener program, found once on PATH.
class DesktopHost final : public Host {
public:
    DesktopHost() : m_opener(find_in_path("xdg-open")) {}

    bool can_open_documents() const override { return m_opener.has_value(); }

    std::expected<void, std::string> open_path(std::string_view utf8_path) const override
    {
        if (!m_opener)
            return std::unexpected(std::string(k_opening_unavailable));
        if (!kavo_services::is_valid_utf8(utf8_path))
            return std::unexpected("the desktop opener takes UTF-8 paths");
        std::string program = m_opener->string();
        std::string argument(utf8_path);
        char* argv[] = {program.data(), argument.data(), nullptr};
        pid_t pid = 0;
        int rc = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
        if (rc != 0)
            return std::unexpected(std::string("could not start the desktop opener: ") + std::strerror(rc));
        // The opener runs on its own; a waiter reaps it so no zombie stays behind.
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        return {};
    }

private:
    std::optional<std::filesystem::path> m_opener;
};

}

const Host& current()
{
    static const DesktopHost host;
    return host;
}

}
