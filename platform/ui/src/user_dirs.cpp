#include "kavo_ui/user_dirs.hpp"

#include "kavo_ui/sysdirs.hpp"
#include "kavo_services/app_dirs.hpp"
#include "kavo_services/utf8.hpp"

#include <fstream>
#include <sstream>

namespace kavo_ui {

namespace {

struct Key {
    std::string_view variable;
    UserDirKind kind;
    std::string_view default_name;  // below home, used when there is no user-dirs.dirs at all
};

constexpr Key k_keys[] = {
    {"XDG_DESKTOP_DIR", UserDirKind::Desktop, "Desktop"},
    {"XDG_DOCUMENTS_DIR", UserDirKind::Documents, "Documents"},
    {"XDG_DOWNLOAD_DIR", UserDirKind::Downloads, "Downloads"},
    {"XDG_MUSIC_DIR", UserDirKind::Music, "Music"},
    {"XDG_PICTURES_DIR", UserDirKind::Pictures, "Pictures"},
    {"XDG_VIDEOS_DIR", UserDirKind::Videos, "Videos"},
    {"XDG_TEMPLATES_DIR", UserDirKind::Templates, "Templates"},
    {"XDG_PUBLICSHARE_DIR", UserDirKind::PublicShare, "Public"},
};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The value of one line: a double-quoted string that may start with $HOME, with backslash
// escapes. Anything else is not a valid entry.
std::optional<std::filesystem::path> parse_value(std::string_view raw, const std::filesystem::path& home)
{
    raw = trim(raw);
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"')
        return std::nullopt;
    raw = raw.substr(1, raw.size() - 2);
    std::string value;
    bool relative_to_home = false;
    if (raw.starts_with("$HOME") && (raw.size() == 5 || raw[5] == '/')) {
        relative_to_home = true;
        raw.remove_prefix(5);
    } else if (!raw.starts_with("/")) {
        return std::nullopt;
    }
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\\' && i + 1 < raw.size())
            c = raw[++i];
        else if (c == '"')
            return std::nullopt;
        value.push_back(c);
    }
    std::filesystem::path path = relative_to_home ? std::filesystem::path(home.native() + value) : std::filesystem::path(value);
    path = path.lexically_normal();
    if (path.has_filename() == false && path != "/")
        path = path.parent_path();
    // A folder set to home itself means "not used" in this file's convention.
    if (path == home.lexically_normal() || path == std::filesystem::path(home.native() + "/").lexically_normal())
        return std::nullopt;
    return path;
}

std::filesystem::path normalized(const std::filesystem::path& p)
{
    auto n = p.lexically_normal();
    if (!n.has_filename() && n != "/" && !n.empty())
        n = n.parent_path();
    return n;
}

}

UserDirs UserDirs::parse(std::optional<std::string_view> text, const std::filesystem::path& home)
{
    UserDirs dirs;
    dirs.m_home = normalized(home);
    if (!text) {
        for (const auto& key : k_keys)
            if (key.kind != UserDirKind::Templates && key.kind != UserDirKind::PublicShare)
                dirs.m_dirs[size_t(key.kind)] = dirs.m_home / key.default_name;
        return dirs;
    }
    std::string_view rest = *text;
    while (!rest.empty()) {
        size_t nl = rest.find('\n');
        std::string_view line = trim(rest.substr(0, nl));
        rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
        if (line.empty() || line.front() == '#')
            continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view name = trim(line.substr(0, eq));
        for (const auto& key : k_keys)
            if (key.variable == name) {
                if (auto value = parse_value(line.substr(eq + 1), dirs.m_home))
                    dirs.m_dirs[size_t(key.kind)] = *value;
                else
                    dirs.m_dirs[size_t(key.kind)].reset();
            }
    }
    return dirs;
}

UserDirs UserDirs::from_system()
{
    std::filesystem::path home = sysdirs::user_home().value_or("/");
    std::filesystem::path file;
    if (auto config = kavo_services::AppDirs::config("user-dirs.dirs"))
        file = *config;
    std::ifstream in(file);
    if (file.empty() || !in)
        return parse(std::nullopt, home);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    return parse(std::string_view(text), home);
}

std::optional<std::filesystem::path> UserDirs::dir(UserDirKind kind) const
{
    if (kind == UserDirKind::Home)
        return m_home;
    return m_dirs[size_t(kind)];
}

std::optional<UserDirKind> UserDirs::classify(const std::filesystem::path& path) const
{
    auto p = normalized(path);
    if (p == m_home)
        return UserDirKind::Home;
    for (const auto& key : k_keys)
        if (m_dirs[size_t(key.kind)] && *m_dirs[size_t(key.kind)] == p)
            return key.kind;
    return std::nullopt;
}

std::vector<ContentPlace> UserDirs::content_places() const
{
    std::vector<ContentPlace> places;
    for (UserDirKind kind : {UserDirKind::Documents, UserDirKind::Downloads, UserDirKind::Pictures, UserDirKind::Music,
                             UserDirKind::Videos}) {
        const auto& dir = m_dirs[size_t(kind)];
        if (!dir)
            continue;
        std::string label = kavo_services::lossy_utf8(dir->filename());
        places.push_back({kind, *dir, label.empty() ? kavo_services::lossy_utf8(*dir) : label});
    }
    return places;
}

}
