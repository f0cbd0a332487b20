#include "mount_table.hpp"

#include "kavo_services/error.hpp"
#include "unique_fd.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>

namespace kavo_trash {

namespace {

// Far beyond any real mount table; a bound on what is read from the kernel's text.
constexpr size_t k_max_mount_table_bytes = 16 * 1024 * 1024;

std::vector<std::string_view> split_fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        size_t start = line.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        line.remove_prefix(start);
        size_t end = line.find(' ');
        fields.push_back(line.substr(0, end));
        line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    }
    return fields;
}

// The kernel writes space, tab, newline and backslash in mount points as \ooo.
std::string unescape_octal(std::string_view field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        bool octal = field[i] == '\\' && field.size() - i >= 4
            && std::all_of(field.begin() + i + 1, field.begin() + i + 4, [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

}

std::vector<Mount> parse_mount_table(std::string_view content)
{
    std::vector<Mount> mounts;
    while (!content.empty()) {
        size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        // id parent major:minor root mount-point options [optional…] - type source super-options
        auto fields = split_fields(line);
        auto separator = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 7 || separator - fields.begin() < 6 || fields.end() - separator < 2)
            continue;
        std::string point = unescape_octal(fields[4]);
        if (point.empty() || point.front() != '/')
            continue;
        mounts.push_back({std::filesystem::path(std::move(point)), std::string(separator[1])});
    }
    return mounts;
}

std::expected<std::vector<Mount>, std::string> read_mount_table()
{
    constexpr const char* k_path = "/proc/self/mountinfo";
    UniqueFd fd(::open(k_path, O_RDONLY | O_CLOEXEC));
    if (!fd)
        return std::unexpected(kavo_services::Error::from_errno(errno, k_path).text);
    std::string content;
    std::array<char, 16384> buffer;
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::unexpected(kavo_services::Error::from_errno(errno, k_path).text);
        if (n == 0)
            break;
        content.append(buffer.data(), static_cast<size_t>(n));
        if (content.size() > k_max_mount_table_bytes)
            return std::unexpected(std::string(k_path) + ": the mount table is too large");
    }
    return parse_mount_table(content);
}

std::optional<Mount> mount_of(const std::vector<Mount>& mounts, const std::filesystem::path& real_path)
{
    const Mount* best = nullptr;
    size_t best_depth = 0;
    for (const auto& mount : mounts) {
        if (!is_within(real_path, mount.mount_point))
            continue;
        size_t depth = static_cast<size_t>(std::distance(mount.mount_point.begin(), mount.mount_point.end()));
        if (!best || depth >= best_depth) {
            best = &mount;
            best_depth = depth;
        }
    }
    if (!best)
        return std::nullopt;
    return *best;
}

bool is_pseudo_file_system(std::string_view fs_type)
{
    static constexpr std::string_view k_pseudo[] = {
        "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts", "devtmpfs",
        "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs", "proc", "pstore", "rpc_pipefs", "securityfs",
        "selinuxfs", "sysfs", "tracefs",
    };
    return std::find(std::begin(k_pseudo), std::end(k_pseudo), fs_type) != std::end(k_pseudo);
}

bool is_within(const std::filesystem::path& inner, const std::filesystem::path& outer)
{
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        // A trailing separator shows up as an empty last element; it adds nothing.
        if (o->empty() && std::next(o) == outer.end())
            break;
        if (i == inner.end() || *i != *o)
            return false;
    }
    return true;
}

}
