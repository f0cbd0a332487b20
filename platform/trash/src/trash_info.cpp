#include "trash_info.hpp"

#include "percent_encoding.hpp"
#include "unique_fd.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace kavo_trash {

namespace {

constexpr std::string_view k_group = "[Trash Info]";

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool has_parent_component(std::string_view path)
{
    while (!path.empty()) {
        size_t slash = path.find('/');
        if (path.substr(0, slash) == "..")
            return true;
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return false;
}

bool in_range(std::string_view s, size_t at, int low, int high)
{
    int value = 0;
    for (size_t i = at; i < at + 2; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        value = value * 10 + (s[i] - '0');
    }
    return value >= low && value <= high;
}

bool is_deletion_date(std::string_view s)
{
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':')
        return false;
    return in_range(s, 0, 0, 99) && in_range(s, 2, 0, 99) && in_range(s, 5, 1, 12) && in_range(s, 8, 1, 31)
        && in_range(s, 11, 0, 23) && in_range(s, 14, 0, 59) && in_range(s, 17, 0, 60);
}

}

std::string format_trash_info(std::string_view path, std::string_view deletion_date)
{
    std::string out(k_group);
    out += "\nPath=";
    out += percent_encode(path);
    out += "\nDeletionDate=";
    out += deletion_date;
    out += '\n';
    return out;
}

std::optional<TrashInfo> parse_trash_info(std::string_view content)
{
    bool in_group = false;
    std::optional<std::string> path;
    std::string date;
    while (!content.empty()) {
        size_t end = content.find('\n');
        std::string_view line = trim(content.substr(0, end));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            // Only the first group counts; later groups belong to other writers' extensions.
            if (in_group)
                break;
            if (line != k_group)
                return std::nullopt;
            in_group = true;
            continue;
        }
        if (!in_group)
            return std::nullopt;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        std::string_view key = trim(line.substr(0, equals));
        std::string_view value = trim(line.substr(equals + 1));
        if (key == "Path") {
            if (path)
                return std::nullopt;
            path = percent_decode(value);
            if (!path || path->empty() || has_parent_component(*path))
                return std::nullopt;
        } else if (key == "DeletionDate" && date.empty() && is_deletion_date(value)) {
            date = value;
        }
    }
    if (!path)
        return std::nullopt;
    return TrashInfo{std::move(*path), std::move(date)};
}

std::string local_deletion_date(std::time_t when)
{
    std::tm tm {};
    ::localtime_r(&when, &tm);
    char buffer[32];
    size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &tm);
    return std::string(buffer, n);
}

std::optional<TrashInfo> read_trash_info(int dir_fd, const std::string& name)
{
    // Non-blocking, so that a FIFO planted under an info name cannot stall the caller.
    UniqueFd fd(::openat(dir_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > static_cast<off_t>(k_max_trash_info_bytes))
        return std::nullopt;
    std::string content(k_max_trash_info_bytes + 1, '\0');
    size_t used = 0;
    while (used < content.size()) {
        ssize_t n = ::read(fd.get(), content.data() + used, content.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        used += static_cast<size_t>(n);
    }
    if (used > k_max_trash_info_bytes)
        return std::nullopt;
    content.resize(used);
    return parse_trash_info(content);
}

}
