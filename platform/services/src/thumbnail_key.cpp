#include "kavo_services/thumbnails.hpp"
#include "kavo_services/hex.hpp"

#include <algorithm>
#include <cstring>
#include <sodium.h>
#include <string_view>

namespace kavo_services {

namespace {

// Bump when the pictures change (size, format), so old cache files are no longer found.
constexpr std::string_view k_encoding_version = "kavo-thumb-1";

void append_u64(std::string& out, uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}

ThumbCategory category_for_path(const std::filesystem::path& path)
{
    std::string extension = path.extension().native();
    if (extension.size() < 2)
        return ThumbCategory::None;
    extension.erase(0, 1);
    std::ranges::transform(extension, extension.begin(), ascii_lower);
    struct Row {
        std::string_view extension;
        ThumbCategory category;
    };
    static constexpr Row k_rows[] = {
        {"png", ThumbCategory::Image},  {"jpg", ThumbCategory::Image}, {"jpeg", ThumbCategory::Image},
        {"gif", ThumbCategory::Image},  {"webp", ThumbCategory::Image}, {"bmp", ThumbCategory::Image},
        {"pdf", ThumbCategory::Pdf},    {"epub", ThumbCategory::Epub},
    };
    for (const Row& row : k_rows)
        if (row.extension == extension)
            return row.category;
    return ThumbCategory::None;
}

// The canonical encoding is a version tag, the picture size, then either "h" and the 32 hash
// bytes, or "p", the path's length and bytes, the time and the size as little-endian integers.
// Lengths are explicit so no two inputs share an encoding.
ThumbKey ThumbKey::of_path_meta(const std::filesystem::path& path,
                                const std::optional<std::array<uint8_t, 32>>& content_hash, int64_t modified_ms,
                                uint64_t size)
{
    std::string encoding(k_encoding_version);
    encoding.push_back('\0');
    append_u64(encoding, k_thumb_max_side);
    if (content_hash) {
        encoding.push_back('h');
        encoding.append(reinterpret_cast<const char*>(content_hash->data()), content_hash->size());
    } else {
        const std::string& bytes = path.native();
        encoding.push_back('p');
        append_u64(encoding, bytes.size());
        encoding.append(bytes);
        append_u64(encoding, static_cast<uint64_t>(std::max<int64_t>(modified_ms, 0)));
        append_u64(encoding, size);
    }
    ThumbKey key;
    crypto_hash_sha256(key.m_digest.data(), reinterpret_cast<const unsigned char*>(encoding.data()),
                       encoding.size());
    return key;
}

std::string ThumbKey::cache_name() const
{
    return to_hex(m_digest) + ".png";
}

size_t ThumbKey::hash() const
{
    size_t value = 0;
    std::memcpy(&value, m_digest.data(), sizeof value);
    return value;
}

}
