#pragma once

#include "kavo_services/thumbnails.hpp"

#include <QImage>
#include <cstdint>
#include <expected>
#include <string>

class QIODevice;

namespace kavo_services::thumbs {

// What one decode may allocate for pixels and decoder state, per worker.
inline constexpr uint64_t k_decode_budget = 40ull << 20;

using Decoded = std::expected<QImage, std::string>;

// The largest size of the source's aspect that fits a k_thumb_max_side square; never larger
// than the source, never empty.
QSize thumb_size_for(QSize source);

// Decodes the picture in the device (any format Qt reads, chosen by content) straight to
// thumbnail size. A picture whose decode would need more than budget bytes is refused before a
// pixel is decoded.
Decoded decode_image(QIODevice& device, uint64_t budget = k_decode_budget);
Decoded decode_image_file(const std::filesystem::path& path);
// The encoded bytes count against the budget too.
Decoded decode_image_bytes(const std::string& bytes);

// Scales down to thumbnail size when larger.
QImage fit_thumb(const QImage& image);
ThumbPicture to_picture(const QImage& image);

}
