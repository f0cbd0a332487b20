#include "views/favorites/favorites.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace files::views {

namespace {

// The file holds folder paths; anything far larger is not a favourites file.
constexpr std::streamsize k_max_file = 1 << 20;

std::string_view trim(std::string_view s)
{
    auto first = s.find_first_not_of(" \t\r\f\v");
    if (first == std::string_view::npos)
        return {};
    auto last = s.find_last_not_of(" \t\r\f\v");
    return s.substr(first, last - first + 1);
}

std::optional<PlaceKind> kind_of(kavo_ui::UserDirKind kind)
{
    switch (kind) {
    case kavo_ui::UserDirKind::Documents: return PlaceKind::Documents;
    case kavo_ui::UserDirKind::Downloads: return PlaceKind::Downloads;
    case kavo_ui::UserDirKind::Pictures: return PlaceKind::Pictures;
    case kavo_ui::UserDirKind::Music: return PlaceKind::Music;
    case kavo_ui::UserDirKind::Videos: return PlaceKind::Videos;
    default: return std::nullopt;
    }
}

Place home_place(const std::filesystem::path& home) { return {i18n::t("files-place-home"), home, true, PlaceKind::Home}; }

}

Place classify_place(const std::filesystem::path& path, const kavo_ui::UserDirs& dirs)
{
    auto kind = dirs.classify(path);
    if (kind == kavo_ui::UserDirKind::Home)
        return home_place(path);
    auto name = path.lexically_normal();
    if (!name.has_filename() && name != name.root_path())
        name = name.parent_path();
    std::string label = kavo_services::lossy_utf8(name.filename());
    if (label.empty())
        label = kavo_services::lossy_utf8(path);
    Place place{label, path, false, PlaceKind::Folder};
    if (kind)
        if (auto k = kind_of(*kind))
            place.kind = *k;
    return place;
}

std::vector<Place> Favorites::defaults(const kavo_ui::UserDirs& dirs)
{
    std::vector<Place> places{home_place(dirs.home())};
    for (const auto& content : dirs.content_places())
        places.push_back({content.label, content.path, false, kind_of(content.kind).value_or(PlaceKind::Folder)});
    return places;
}

Favorites Favorites::load(const std::optional<std::filesystem::path>& config_dir, const kavo_ui::UserDirs& dirs)
{
    Favorites favorites;
    favorites.m_config_dir = config_dir;
    std::string text;
    bool readable = false;
    if (config_dir) {
        std::ifstream in(*config_dir / "favorites", std::ios::binary);
        if (in) {
            text.resize(size_t(k_max_file) + 1);
            in.read(text.data(), k_max_file + 1);
            text.resize(size_t(in.gcount()));
            readable = text.size() <= size_t(k_max_file) && kavo_services::is_valid_utf8(text);
        }
    }
    if (readable) {
        std::string_view rest = text;
        while (!rest.empty()) {
            size_t nl = rest.find('\n');
            std::string_view line = trim(rest.substr(0, nl));
            rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
            if (!line.empty())
                favorites.m_places.push_back(classify_place(std::filesystem::path(std::string(line)), dirs));
        }
    }
    if (favorites.m_places.empty())
        favorites.m_places = defaults(dirs);
    return favorites;
}

bool Favorites::contains(const std::filesystem::path& path) const
{
    return std::any_of(m_places.begin(), m_places.end(), [&](const Place& p) { return p.path == path; });
}

void Favorites::add(Place place) { m_places.push_back(std::move(place)); }

bool Favorites::remove(const std::filesystem::path& path)
{
    auto before = m_places.size();
    std::erase_if(m_places, [&](const Place& p) { return p.path == path && !p.is_home; });
    return m_places.size() != before;
}

bool Favorites::reorder(size_t from, size_t to)
{
    if (from >= m_places.size() || to >= m_places.size() || from == to)
        return false;
    Place moved = std::move(m_places[from]);
    m_places.erase(m_places.begin() + long(from));
    m_places.insert(m_places.begin() + long(to), std::move(moved));
    return true;
}

void Favorites::save() const
{
    if (!m_config_dir)
        return;
    std::error_code ec;
    std::filesystem::create_directories(*m_config_dir, ec);
    std::string text;
    for (size_t i = 0; i < m_places.size(); ++i) {
        if (i)
            text.push_back('\n');
        text += kavo_services::lossy_utf8(m_places[i].path);
    }
    // Written beside and renamed over, so a crash never leaves half a list.
    auto file = *m_config_dir / "favorites";
    auto tmp = *m_config_dir / ".favorites.tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return;
        out << text;
        if (!out.flush())
            return;
    }
    std::filesystem::rename(tmp, file, ec);
    if (ec)
        std::filesystem::remove(tmp, ec);
}

}
