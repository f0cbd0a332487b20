#include "main/share_link.hpp"

#include "kavo_services/utf8.hpp"

#include <cerrno>
#include <unistd.h>

namespace files::launch {

std::expected<std::string, std::string> read_shared_link(int fd)
{
    // One byte past the limit tells an oversized link from one that fits exactly.
    std::string data(k_link_limit + 1, '\0');
    size_t used = 0;
    while (used < data.size()) {
        ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::unexpected("files-received-link-read-failed");
        }
        if (n == 0)
            break;
        used += size_t(n);
    }
    data.resize(used);
    if (data.size() > k_link_limit)
        return std::unexpected("files-received-link-too-large");
    if (!kavo_services::is_valid_utf8(data))
        return std::unexpected("files-received-link-invalid-text");
    while (!data.empty() && (data.back() == '\n' || data.back() == '\r'))
        data.pop_back();
    if (data.empty())
        return std::unexpected("files-received-link-empty");
    return data;
}

}
