#include "directory_sizes.hpp"

#include "kavo_services/error.hpp"
#include "kavo_services/utf8.hpp"
#include "percent_encoding.hpp"
#include "unique_fd.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace kavo_trash {

namespace {

using kavo_services::Error;
using kavo_services::lossy_utf8;

// Generous for a cache of a few short lines per trashed folder; a larger file is not ours to
// trust and is started afresh.
constexpr size_t k_max_cache_bytes = 8 * 1024 * 1024;

// The well-formed lines of the cache; a missing or oversized file gives none.
std::vector<std::string> read_lines(const std::filesystem::path& file)
{
    std::vector<std::string> lines;
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > static_cast<off_t>(k_max_cache_bytes))
        return lines;
    std::string content(static_cast<size_t>(st.st_size), '\0');
    size_t used = 0;
    while (used < content.size()) {
        ssize_t n = ::read(fd.get(), content.data() + used, content.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        used += static_cast<size_t>(n);
    }
    content.resize(used);
    std::string_view rest(content);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (std::count(line.begin(), line.end(), ' ') == 2)
            lines.emplace_back(line);
    }
    return lines;
}

// Compared decoded, since other writers may escape a different set of characters.
bool names_folder(std::string_view line, const std::string& name)
{
    return percent_decode(line.substr(line.rfind(' ') + 1)) == name;
}

std::expected<void, std::string> write_lines(const std::filesystem::path& root, const std::vector<std::string>& lines)
{
    std::string content;
    for (const auto& line : lines)
        content += line + '\n';
    auto file = root / "directorysizes";
    std::string temp = (root / "directorysizes.XXXXXX").native();
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd)
        return std::unexpected(Error::from_errno(errno, lossy_utf8(std::string_view(temp))).text);
    for (size_t written = 0; written < content.size();) {
        ssize_t n = ::write(fd.get(), content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            int e = errno;
            ::unlink(temp.c_str());
            return std::unexpected(Error::from_errno(e, lossy_utf8(std::string_view(temp))).text);
        }
        written += static_cast<size_t>(n);
    }
    // The cache replaces itself on purpose; it is the one file here that is meant to be overwritten.
    if (::fsync(fd.get()) != 0 || ::rename(temp.c_str(), file.c_str()) != 0) {
        int e = errno;
        ::unlink(temp.c_str());
        return std::unexpected(Error::from_errno(e, lossy_utf8(file)).text);
    }
    return {};
}

}

std::expected<void, std::string> DirectorySizes::record(const std::string& name, std::uint64_t size, std::time_t info_mtime) const
{
    auto lines = read_lines(m_root / "directorysizes");
    std::erase_if(lines, [&](const std::string& line) { return names_folder(line, name); });
    lines.push_back(std::to_string(size) + ' ' + std::to_string(static_cast<long long>(info_mtime)) + ' ' + percent_encode(name));
    return write_lines(m_root, lines);
}

std::expected<void, std::string> DirectorySizes::forget(const std::string& name) const
{
    auto lines = read_lines(m_root / "directorysizes");
    if (std::erase_if(lines, [&](const std::string& line) { return names_folder(line, name); }) == 0)
        return {};
    return write_lines(m_root, lines);
}

}
