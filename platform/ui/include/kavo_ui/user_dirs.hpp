#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavo_ui {

enum class UserDirKind { Home, Desktop, Documents, Downloads, Music, Pictures, Videos, Templates, PublicShare };

struct ContentPlace {
    UserDirKind kind;
    std::filesystem::path path;
    std::string label;
};

// The user's standard folders as user-dirs.dirs configures them.
class UserDirs {
public:
    // Reads $XDG_CONFIG_HOME/user-dirs.dirs (else ~/.config/user-dirs.dirs) against the user's home.
    static UserDirs from_system();
    // Parses the text of a user-dirs.dirs file. A missing file (nullopt) gives the usual defaults
    // below home; entries that are relative, malformed or equal to home are left unset.
    static UserDirs parse(std::optional<std::string_view> text, const std::filesystem::path& home);

    const std::filesystem::path& home() const { return m_home; }
    std::optional<std::filesystem::path> dir(UserDirKind kind) const;
    // Which standard folder a path is, if any (home included).
    std::optional<UserDirKind> classify(const std::filesystem::path& path) const;
    // Documents, downloads, pictures, music and videos, in that order, those that are set.
    std::vector<ContentPlace> content_places() const;

private:
    std::filesystem::path m_home;
    std::optional<std::filesystem::path> m_dirs[9];
};

}
