#include "automation_listen_socket.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <cstring>
#include <fmt/format.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kavo_ui::automation {

namespace {

using Failure = std::unexpected<std::string>;

constexpr int k_backlog = 16;

std::string shown(const std::filesystem::path& path) { return kavo_services::lossy_utf8(path); }

Failure os_failure(std::string_view step, const std::filesystem::path& path)
{
    return Failure(kavo_services::Error::from_errno(errno, fmt::format("{} {}", step, shown(path))).text);
}

std::expected<void, std::string> prepare_folder(const std::filesystem::path& folder)
{
    if (::mkdir(folder.c_str(), 0700) == 0) {
        // mkdir honours the umask; the folder must end up exactly 0700.
        if (::chmod(folder.c_str(), 0700) != 0)
            return os_failure("chmod", folder);
    } else if (errno != EEXIST) {
        return os_failure("mkdir", folder);
    }
    struct stat st{};
    if (::stat(folder.c_str(), &st) != 0)
        return os_failure("stat", folder);
    if (!S_ISDIR(st.st_mode))
        return Failure(fmt::format("{} is not a folder", shown(folder)));
    // In a sticky folder such as /tmp nobody else can remove or replace our socket, whoever
    // owns the folder and whoever may write to it.
    if (st.st_mode & S_ISVTX)
        return {};
    if (st.st_uid != ::geteuid())
        return Failure(fmt::format("{} belongs to another user", shown(folder)));
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return Failure(fmt::format("{} may be written by other users", shown(folder)));
    return {};
}

std::expected<sockaddr_un, std::string> socket_address(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& bytes = path.native();
    if (bytes.size() >= sizeof address.sun_path)
        return Failure(fmt::format("socket path too long ({} bytes, at most {}): {}", bytes.size(),
                                   sizeof address.sun_path - 1, shown(path)));
    std::memcpy(address.sun_path, bytes.data(), bytes.size());
    return address;
}

// A socket file nobody listens on is left over from a process that died; a live one, or any
// other kind of file, is not ours to remove.
std::expected<void, std::string> remove_stale_socket(const std::filesystem::path& path, const sockaddr_un& address)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? std::expected<void, std::string>() : os_failure("lstat", path);
    if (!S_ISSOCK(st.st_mode))
        return Failure(fmt::format("{} exists and is not a socket", shown(path)));
    UniqueFd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!probe)
        return os_failure("socket for", path);
    if (::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 || errno == EAGAIN)
        return Failure(fmt::format("another process is listening on {}", shown(path)));
    if (errno != ECONNREFUSED && errno != ENOENT)
        return os_failure("connect to", path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return os_failure("unlink stale", path);
    return {};
}

}

std::expected<ListenSocket, std::string> open_listen_socket(const std::filesystem::path& path)
{
    if (path.empty() || !path.has_filename())
        return Failure(fmt::format("not a socket path: \"{}\"", shown(path)));
    auto address = socket_address(path);
    if (!address)
        return Failure(address.error());
    std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    if (auto ready = prepare_folder(folder); !ready)
        return Failure(ready.error());
    if (auto removed = remove_stale_socket(path, *address); !removed)
        return Failure(removed.error());

    ListenSocket socket;
    socket.fd = UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket.fd)
        return os_failure("socket for", path);
    if (::bind(socket.fd.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0)
        return os_failure("bind", path);
    // Nobody can connect before listen(), so tightening the mode here leaves no window.
    struct stat st{};
    if (::chmod(path.c_str(), 0600) != 0 || ::lstat(path.c_str(), &st) != 0) {
        auto failure = os_failure("chmod", path);
        ::unlink(path.c_str());
        return failure;
    }
    socket.device = st.st_dev;
    socket.inode = st.st_ino;
    if (::listen(socket.fd.get(), k_backlog) != 0) {
        auto failure = os_failure("listen on", path);
        remove_socket_file(path, socket);
        return failure;
    }
    return socket;
}

void remove_socket_file(const std::filesystem::path& path, const ListenSocket& socket)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0 && st.st_dev == socket.device && st.st_ino == socket.inode)
        ::unlink(path.c_str());
}

}
