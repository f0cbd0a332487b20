#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo_services {

enum class ThumbCategory { None, Image, Pdf, Epub };

// By file-name extension, ignoring ASCII case: png jpg jpeg gif webp bmp, pdf, epub.
ThumbCategory category_for_path(const std::filesystem::path& path);

// Names one version of a file's content in the thumbnail cache. Built from the content hash when
// the file has one (then the path does not matter), else from the path, the modification time in
// milliseconds (negative times count as 0) and the size. Equal keys name the same cache file.
class ThumbKey {
public:
    ThumbKey() = default;
    static ThumbKey of_path_meta(const std::filesystem::path& path,
                                 const std::optional<std::array<uint8_t, 32>>& content_hash, int64_t modified_ms,
                                 uint64_t size);

    // Lowercase hexadecimal SHA-256 of the key's canonical encoding, then ".png".
    std::string cache_name() const;
    size_t hash() const;

    friend bool operator==(const ThumbKey&, const ThumbKey&) = default;
    friend auto operator<=>(const ThumbKey&, const ThumbKey&) = default;

private:
    std::array<uint8_t, 32> m_digest {};
};

// Premultiplied ARGB32 pixels (0xAARRGGBB), row by row; neither side exceeds k_thumb_max_side.
struct ThumbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

inline constexpr int k_thumb_max_side = 256;

struct ThumbRequest {
    std::filesystem::path path;
    ThumbKey key;
    ThumbCategory category = ThumbCategory::None;
    // A collaborative file that is not locally readable is drawn from the picture the platform
    // keeps in its user.kavo.thumb attribute instead of from its content.
    bool collaborative = false;
    bool locally_readable = true;
    // Higher first; the view gives visible entries a higher priority.
    int priority = 0;
};

enum class ThumbStatus { Unknown, Pending, Ready, Failed };

// Makes thumbnails on worker threads and keeps them in a PNG cache folder. Every operation is
// thread-safe. A request whose key is pending, ready or failed before is not repeated, so a file
// that cannot be decoded costs one attempt and keeps its icon.
class ThumbnailService {
public:
    // on_ready runs on a worker thread after each finished request, successful or not, and must
    // not wait for the service (block_until_idle waits for it to return). When the cache folder
    // cannot be made the service still works, without a disk cache. Create the service on a
    // thread that lives until the process ends (the UI thread).
    static std::unique_ptr<ThumbnailService> create(std::filesystem::path cache_dir, int workers = 2,
                                                    std::function<void()> on_ready = {});
    ~ThumbnailService();
    ThumbnailService(const ThumbnailService&) = delete;
    ThumbnailService& operator=(const ThumbnailService&) = delete;

    void request_file(const ThumbRequest& request);
    // The ready thumbnail, or null. Ready pictures are kept in a bounded least-recently-used set,
    // so one may turn Unknown again and be made anew (from the disk cache) on the next request.
    std::shared_ptr<const ThumbPicture> picture(const ThumbKey& key) const;
    ThumbStatus status(const ThumbKey& key) const;
    // Requests queued or in work.
    size_t pending() const;
    // Returns when nothing is queued or in work and every on_ready call has returned.
    void block_until_idle();
    // The listing changed: queued requests that no worker has started are dropped (and may be
    // requested again); those in work finish.
    void begin_generation();

private:
    struct Impl;
    explicit ThumbnailService(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}

template<>
struct std::hash<kavo_services::ThumbKey> {
    size_t operator()(const kavo_services::ThumbKey& key) const noexcept { return key.hash(); }
};
