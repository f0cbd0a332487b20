#include "thumbnail_cache.hpp"

#include "thumbnail_file.hpp"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spdlog/spdlog.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kavo_services/utf8.hpp"

namespace kavo_services::thumbs {

namespace {

// A 256 × 256 picture stored uncompressed is 256 KiB; a larger cache file is not ours.
constexpr uint64_t k_max_cache_file = 1 << 20;

// Every complete PNG ends with this IEND chunk; a file cut short does not.
constexpr char k_png_end[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', '\xae', 'B', '`', '\x82'};

std::optional<QByteArray> read_whole(const RegularFile& file)
{
    if (file.size() > k_max_cache_file)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(file.size()), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(file.fd(), bytes.data() + done, static_cast<size_t>(bytes.size() - done), done);
        if (n <= 0)
            return std::nullopt;
        done += n;
    }
    return bytes;
}

std::optional<QImage> decode_cached(const QByteArray& bytes)
{
    if (!bytes.endsWith(QByteArray::fromRawData(k_png_end, sizeof k_png_end)))
        return std::nullopt;
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > k_thumb_max_side || size.height() > k_thumb_max_side)
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull() || image.size() != size)
        return std::nullopt;
    return image;
}

bool write_all(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

}

std::optional<ThumbCache> ThumbCache::open(std::filesystem::path dir)
{
    std::error_code ec;
    if (dir.has_parent_path())
        std::filesystem::create_directories(dir.parent_path(), ec);
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        spdlog::warn("thumbnails: cannot create the cache folder {}", lossy_utf8(dir));
        return std::nullopt;
    }
    if (!std::filesystem::is_directory(dir, ec)) {
        spdlog::warn("thumbnails: the cache path {} is not a folder", lossy_utf8(dir));
        return std::nullopt;
    }
    return ThumbCache(std::move(dir));
}

std::optional<QImage> ThumbCache::load(const ThumbKey& key) const
{
    const std::filesystem::path path = m_dir / key.cache_name();
    auto file = RegularFile::open(path);
    if (!file)
        return std::nullopt;
    std::optional<QImage> image;
    if (auto bytes = read_whole(*file))
        image = decode_cached(*bytes);
    if (!image) {
        spdlog::debug("thumbnails: removing the broken cache file {}", lossy_utf8(path));
        ::unlink(path.c_str());
    }
    return image;
}

void ThumbCache::store(const ThumbKey& key, const QImage& image) const
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, "png");
    // Qt maps 0–100 onto the deflate levels 0–9; 11 is level 1. At Qt's default a thumbnail
    // takes a third as long to encode as its camera JPEG to decode, for a file 15% smaller.
    writer.setCompression(11);
    if (!writer.write(image))
        return;
    std::string temporary = (m_dir / ".partial-XXXXXX").native();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return;
    const bool written = write_all(fd, bytes);
    const bool closed = ::close(fd) == 0;
    const std::filesystem::path target = m_dir / key.cache_name();
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0)
        ::unlink(temporary.c_str());
}

}
