#pragma once

#include "kavo_ui/user_dirs.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::views {

enum class PlaceKind { Home, Documents, Downloads, Pictures, Music, Videos, Folder, Root, Trash };

struct Place {
    std::string label;
    std::filesystem::path path;
    bool is_home = false;
    PlaceKind kind = PlaceKind::Folder;
    bool operator==(const Place&) const = default;
};

// Names a folder: home is "Home"; the standard content folders get their kind; anything else is
// labelled by its last component (or the whole path) as a plain folder.
Place classify_place(const std::filesystem::path& path, const kavo_ui::UserDirs& dirs);

// The favourites list and its file "favorites" in the configuration folder.
class Favorites {
public:
    // Reads the file: lines trimmed, blank lines skipped; a missing, unreadable or empty file gives
    // the defaults (home, then the content folders).
    static Favorites load(const std::optional<std::filesystem::path>& config_dir, const kavo_ui::UserDirs& dirs);
    static std::vector<Place> defaults(const kavo_ui::UserDirs& dirs);

    const std::vector<Place>& places() const { return m_places; }
    bool contains(const std::filesystem::path& path) const;
    void add(Place place);
    // Removes every favourite with this path except the home row; true when something went.
    bool remove(const std::filesystem::path& path);
    // Moves the favourite at from to position to of the shortened list; out-of-range or equal
    // indices change nothing.
    bool reorder(size_t from, size_t to);
    // Writes the paths joined by "\n" (no trailing newline); nothing without a configuration
    // folder; errors are ignored.
    void save() const;

private:
    std::optional<std::filesystem::path> m_config_dir;
    std::vector<Place> m_places;
};

}
