#include "kavo_services/mime.hpp"

#include "kavo_services/app_dirs.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kavo_services {

namespace {

// A generated globs2 file is a few tens of kilobytes; anything far larger is not one.
constexpr off_t k_max_globs_file_bytes = 16 << 20;
constexpr std::string_view k_default_data_dirs = "/usr/local/share:/usr/share";

struct Glob {
    std::string extension;  // as written after "*."
    uint32_t type = 0;      // index into Database::types
    int weight = 0;
    uint32_t order = 0;     // reading order: more important directories first, then line order
    bool case_sensitive = false;
};

struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

// The "*.ext" globs of every data directory, grouped by the ASCII-folded extension. Built once and
// never changed afterwards, so lookups need no lock.
struct Database {
    std::vector<std::string> types;
    std::unordered_map<std::string, std::vector<Glob>, StringHash, std::equal_to<>> globs;
    size_t longest_extension = 0;
};

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string ascii_folded(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = ascii_lower(c);
    return out;
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// Most important first: the user's data directory, then XDG_DATA_DIRS in its order. Relative
// entries are ignored as the base-directory rules require; a directory listed twice counts once.
std::vector<std::filesystem::path> mime_directories()
{
    std::vector<std::filesystem::path> dirs;
    auto add = [&](const std::filesystem::path& base) {
        auto dir = base / "mime";
        if (std::find(dirs.begin(), dirs.end(), dir) == dirs.end())
            dirs.push_back(std::move(dir));
    };
    if (auto home = AppDirs::data_dir())
        add(*home);
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::string_view list = value && *value ? std::string_view(value) : k_default_data_dirs;
    for (std::string_view entry : split(list, ':')) {
        if (!entry.empty() && entry.front() == '/')
            add(std::filesystem::path(entry));
    }
    return dirs;
}

std::string read_small_file(const std::filesystem::path& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string data;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= k_max_globs_file_bytes) {
        data.resize(static_cast<size_t>(st.st_size));
        size_t filled = 0;
        while (filled < data.size()) {
            ssize_t n = ::read(fd, data.data() + filled, data.size() - filled);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            filled += static_cast<size_t>(n);
        }
        data.resize(filled);
    }
    ::close(fd);
    return data;
}

// Only plain extension globs take part; anything with another wildcard would need real matching.
bool is_extension_glob(std::string_view pattern)
{
    return pattern.size() > 2 && pattern.starts_with("*.")
        && pattern.find_first_of("*?[]\\", 2) == std::string_view::npos;
}

class DatabaseBuilder {
public:
    void add_directory(const std::filesystem::path& dir)
    {
        std::string text = read_small_file(dir / "globs2");
        std::vector<std::string> dropped_here;
        for (std::string_view line : split(text, '\n'))
            add_line(line, dropped_here);
        // __NOGLOBS__ removes a type's globs from the less important directories only.
        for (auto& type : dropped_here)
            m_dropped.insert(std::move(type));
    }

    Database finish()
    {
        for (auto& [key, list] : m_db.globs) {
            std::stable_sort(list.begin(), list.end(), [](const Glob& a, const Glob& b) {
                return a.weight != b.weight ? a.weight > b.weight : a.order < b.order;
            });
        }
        return std::move(m_db);
    }

private:
    // "weight:type:glob[:flags]"
    void add_line(std::string_view line, std::vector<std::string>& dropped_here)
    {
        if (line.empty() || line.front() == '#')
            return;
        auto fields = split(line, ':');
        if (fields.size() < 3)
            return;
        int weight = 0;
        auto [end, ec] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), weight);
        if (ec != std::errc() || end != fields[0].data() + fields[0].size() || weight < 0 || weight > 100)
            return;
        std::string_view type = fields[1];
        std::string_view pattern = fields[2];
        if (type.empty() || type.find('/') == std::string_view::npos)
            return;
        if (pattern == "__NOGLOBS__") {
            dropped_here.emplace_back(type);
            return;
        }
        if (m_dropped.contains(type) || !is_extension_glob(pattern))
            return;
        bool case_sensitive = false;
        if (fields.size() > 3) {
            for (std::string_view flag : split(fields[3], ','))
                case_sensitive = case_sensitive || flag == "cs";
        }
        std::string_view extension = pattern.substr(2);
        m_db.globs[ascii_folded(extension)].push_back(
            {std::string(extension), intern(type), weight, m_order++, case_sensitive});
        m_db.longest_extension = std::max(m_db.longest_extension, extension.size());
    }

    uint32_t intern(std::string_view type)
    {
        auto it = m_type_index.find(type);
        if (it != m_type_index.end())
            return it->second;
        auto index = static_cast<uint32_t>(m_db.types.size());
        m_db.types.emplace_back(type);
        m_type_index.emplace(std::string(type), index);
        return index;
    }

    Database m_db;
    std::unordered_map<std::string, uint32_t, StringHash, std::equal_to<>> m_type_index;
    std::unordered_set<std::string, StringHash, std::equal_to<>> m_dropped;
    uint32_t m_order = 0;
};

// Read on first use; later changes to the environment or the files do not change answers.
const Database& database()
{
    static const Database db = [] {
        DatabaseBuilder builder;
        for (const auto& dir : mime_directories())
            builder.add_directory(dir);
        return builder.finish();
    }();
    return db;
}

// Among the globs of the highest matching weight, one that matches the extension exactly beats
// one that matches only after case folding. update-mime-database writes every case-sensitive glob
// a second time without the flag ("*.C" for C++ next to "*.c" for C), and that folded copy must
// not claim "c".
const std::string* best_type(const Database& db, const std::vector<Glob>& candidates, std::string_view extension)
{
    const Glob* folded_match = nullptr;
    for (const Glob& glob : candidates) {
        if (folded_match && glob.weight < folded_match->weight)
            break;
        if (glob.extension == extension)
            return &db.types[glob.type];
        if (!glob.case_sensitive && !folded_match)
            folded_match = &glob;
    }
    return folded_match ? &db.types[folded_match->type] : nullptr;
}

}

std::string mime_type_for_extension(std::string_view extension)
{
    const Database& db = database();
    if (extension.empty() || extension.size() > db.longest_extension)
        return std::string(k_octet_stream);
    char folded[256];
    std::string heap_folded;
    std::string_view key;
    if (extension.size() <= sizeof folded) {
        std::transform(extension.begin(), extension.end(), folded, ascii_lower);
        key = std::string_view(folded, extension.size());
    } else {
        heap_folded = ascii_folded(extension);
        key = heap_folded;
    }
    auto it = db.globs.find(key);
    if (it == db.globs.end())
        return std::string(k_octet_stream);
    const std::string* type = best_type(db, it->second, extension);
    return type ? *type : std::string(k_octet_stream);
}

}
