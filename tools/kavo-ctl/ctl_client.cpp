#include "ctl_client.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kavo_ctl {

namespace {

using Failure = std::unexpected<std::string>;

// Accessibility trees and snapshots of large folders are big; anything beyond this is not a reply.
constexpr size_t k_max_reply_bytes = size_t(256) << 20;
constexpr size_t k_read_chunk = size_t(1) << 20;

class Socket {
public:
    Socket() : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

std::string errno_text(std::string_view step, const std::filesystem::path& path)
{
    return kavo_services::Error::from_errno(errno, std::string(step) + " " + kavo_services::lossy_utf8(path)).text;
}

std::expected<void, std::string> connect_to(const Socket& socket, const std::filesystem::path& path)
{
    if (socket.fd() < 0)
        return Failure(errno_text("socket for", path));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path)
        return Failure("socket path too long: " + kavo_services::lossy_utf8(path));
    std::memcpy(address.sun_path, path.c_str(), path.native().size());
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return Failure(errno_text("cannot connect to", path));
    return {};
}

bool send_all(int fd, std::string_view data)
{
    while (!data.empty()) {
        ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(size_t(n));
    }
    return true;
}

std::expected<std::string, std::string> read_line(int fd)
{
    std::string line;
    for (;;) {
        size_t old_size = line.size();
        line.resize(old_size + k_read_chunk);
        ssize_t n = ::recv(fd, line.data() + old_size, k_read_chunk, 0);
        line.resize(old_size + size_t(std::max<ssize_t>(n, 0)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure(std::string("reading the reply failed: ") + std::strerror(errno));
        if (n == 0)
            return Failure("the application closed the connection without a reply");
        if (size_t newline = line.find('\n', old_size); newline != std::string::npos) {
            line.resize(newline);
            return line;
        }
        if (line.size() > k_max_reply_bytes)
            return Failure("the reply is larger than 256 MiB");
    }
}

}

std::expected<nlohmann::ordered_json, std::string> exchange(const std::filesystem::path& socket_path, const nlohmann::ordered_json& request)
{
    Socket socket;
    if (auto connected = connect_to(socket, socket_path); !connected)
        return Failure(connected.error());
    if (!send_all(socket.fd(), request.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n"))
        return Failure(std::string("sending the request failed: ") + std::strerror(errno));
    auto line = read_line(socket.fd());
    if (!line)
        return Failure(line.error());
    nlohmann::ordered_json reply = nlohmann::ordered_json::parse(*line, nullptr, false);
    if (reply.is_discarded() || !reply.is_object() || !reply.contains("ok") || !reply["ok"].is_boolean())
        return Failure("the application sent a malformed reply");
    return reply;
}

}
