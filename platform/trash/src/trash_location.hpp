#pragma once

#include "mount_table.hpp"

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kavo_trash {

// One trash folder with its files/ and info/ folders.
struct TrashRoot {
    std::filesystem::path path;
    // The top folder of the mount for a top-folder trash, whose info paths are relative to it;
    // nullopt for the home trash, whose info paths are absolute.
    std::optional<std::filesystem::path> top_dir;

    std::filesystem::path files() const { return path / "files"; }
    std::filesystem::path info() const { return path / "info"; }
};

// Finds the trash for items to be trashed and creates its folders when they are missing. The
// mount table and the home trash's device are looked up once, when first needed.
class TrashLocator {
public:
    // The trash on the file system of `real_path` (no symbolic links in it), whose device is `device`.
    std::expected<TrashRoot, std::string> root_for(const std::filesystem::path& real_path, dev_t device);

private:
    std::expected<TrashRoot, std::string> top_dir_root_for(const std::filesystem::path& real_path);

    std::optional<std::optional<dev_t>> m_home_device;
    std::optional<std::expected<std::vector<Mount>, std::string>> m_mounts;
};

std::optional<TrashRoot> home_trash_root();

// The existing trashes of this user: the home trash, then the top-folder trashes of the mounted
// file systems; a trash reached through several mounts is given once. Nothing is created.
std::vector<TrashRoot> existing_trash_roots();

// Recognises a trash folder by its place: the home trash, $topdir/.Trash-$uid or
// $topdir/.Trash/$uid. nullopt for any other folder.
std::optional<TrashRoot> trash_root_at(const std::filesystem::path& path);

// Where an item recorded with the info path `recorded` came from; nullopt for a relative path
// in the home trash, which has no folder to be relative to.
std::optional<std::filesystem::path> original_path_of(const TrashRoot& root, const std::string& recorded);

}
