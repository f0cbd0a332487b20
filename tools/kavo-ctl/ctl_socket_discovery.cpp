#include "ctl_socket_discovery.hpp"

#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <vector>

namespace kavo_ctl {

namespace {

using Failure = std::unexpected<std::string>;

// The pid in "<app-id>.<pid>.sock", when the name has that shape.
std::optional<pid_t> pid_of(const std::string& file_name)
{
    constexpr std::string_view k_suffix = ".sock";
    if (!std::string_view(file_name).ends_with(k_suffix))
        return std::nullopt;
    std::string_view stem = std::string_view(file_name).substr(0, file_name.size() - k_suffix.size());
    size_t dot = stem.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string_view digits = stem.substr(dot + 1);
    pid_t pid = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || pid <= 0)
        return std::nullopt;
    return pid;
}

bool is_alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

bool is_socket_file(const std::filesystem::path& path)
{
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

}

std::expected<std::filesystem::path, std::string> find_socket()
{
    if (const char* path = std::getenv("KAVO_UI_AUTOMATION_SOCKET"); path && *path)
        return std::filesystem::path(path);
    const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime_dir || *runtime_dir != '/')
        return Failure("no socket given: use --socket PATH, KAVO_UI_AUTOMATION_SOCKET or XDG_RUNTIME_DIR");
    std::filesystem::path folder = std::filesystem::path(runtime_dir) / "kavo-ui";
    std::vector<std::filesystem::path> live;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        auto pid = pid_of(entry.path().filename().native());
        if (pid && is_alive(*pid) && is_socket_file(entry.path()))
            live.push_back(entry.path());
    }
    if (live.empty())
        return Failure("no running application found in " + kavo_services::lossy_utf8(folder) + "; use --socket PATH");
    if (live.size() > 1) {
        std::string names;
        for (const auto& path : live)
            names += "\n  " + kavo_services::lossy_utf8(path);
        return Failure("several applications are running; choose one with --socket PATH:" + names);
    }
    return live.front();
}

}
