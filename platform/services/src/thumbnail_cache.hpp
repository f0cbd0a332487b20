#pragma once

#include "kavo_services/thumbnails.hpp"

#include <QImage>
#include <filesystem>
#include <optional>

namespace kavo_services::thumbs {

// A folder of PNG thumbnails named by ThumbKey::cache_name(). Files appear whole or not at all
// (written under a temporary name, then renamed), so several processes may share the folder.
class ThumbCache {
public:
    // Makes the folder (mode 0700) when it is missing; nothing when it cannot be made.
    static std::optional<ThumbCache> open(std::filesystem::path dir);

    // The cached picture. A file that is not a complete thumbnail is removed, so the caller
    // makes it anew.
    std::optional<QImage> load(const ThumbKey& key) const;
    // Best effort: a cache that cannot be written only costs the next decode.
    void store(const ThumbKey& key, const QImage& image) const;

    const std::filesystem::path& dir() const { return m_dir; }

private:
    explicit ThumbCache(std::filesystem::path dir) : m_dir(std::move(dir)) {}
    std::filesystem::path m_dir;
};

}
