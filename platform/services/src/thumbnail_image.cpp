#include "thumbnail_image.hpp"

#include "thumbnail_file.hpp"
#include "thumbnail_jpeg_frame.hpp"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <cstring>

namespace kavo_services::thumbs {

namespace {

uint64_t pixel_bytes(QSize size, uint64_t bytes_per_pixel)
{
    return static_cast<uint64_t>(std::max(size.width(), 0)) * static_cast<uint64_t>(std::max(size.height(), 0))
        * bytes_per_pixel;
}

// The scale the JPEG reader picks for a requested size: the largest of 1/1, 1/2, 1/4, 1/8 that
// still gives at least the requested size, so the reader decodes DCT blocks at that scale and
// smooths the rest.
int jpeg_scale_denominator(QSize source, QSize target)
{
    const int ratio = std::min(source.width() / target.width(), source.height() / target.height());
    if (ratio >= 8)
        return 8;
    if (ratio >= 4)
        return 4;
    if (ratio >= 2)
        return 2;
    return 1;
}

uint64_t bytes_per_pixel(const QImageReader& reader)
{
    const QImage::Format format = reader.imageFormat();
    if (format == QImage::Format_Invalid)
        return 8; // Not known before decoding (16-bit PNG decodes to 8 bytes a pixel).
    return std::max<uint64_t>(4, QImage::toPixelFormat(format).bitsPerPixel() / 8);
}

// Output rows plus decoder state, plus the scaled and converted copies made afterwards.
uint64_t decode_cost(const QImageReader& reader, const std::optional<JpegFrame>& jpeg, QSize source, QSize target)
{
    const uint64_t copies = 2 * pixel_bytes(target, 4);
    if (jpeg) {
        const int denominator = jpeg_scale_denominator(source, target);
        const QSize scaled((source.width() + denominator - 1) / denominator,
                           (source.height() + denominator - 1) / denominator);
        return pixel_bytes(scaled, 4) + jpeg->coefficient_bytes + copies;
    }
    return pixel_bytes(source, bytes_per_pixel(reader)) + copies;
}

// The camera's orientation, applied to the small picture: mirror and flip first, then a quarter
// turn, as the EXIF orientation values mean.
QImage oriented(QImage image, QImageIOHandler::Transformations transformation)
{
    if (transformation == QImageIOHandler::TransformationNone)
        return image;
    if (transformation == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = image.mirrored(transformation.testFlag(QImageIOHandler::TransformationMirror),
                           transformation.testFlag(QImageIOHandler::TransformationFlip));
    if (transformation.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

}

QSize thumb_size_for(QSize source)
{
    if (source.width() <= k_thumb_max_side && source.height() <= k_thumb_max_side)
        return source;
    QSize fitted = source.scaled(k_thumb_max_side, k_thumb_max_side, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

Decoded decode_image(QIODevice& device, uint64_t budget)
{
    // Read before the image reader moves the device on.
    const qint64 start = device.pos();
    const std::optional<JpegFrame> jpeg = read_jpeg_frame(device);
    if (!device.seek(start))
        return std::unexpected(std::string("cannot read the picture"));
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    // Scaled sizes are in stored orientation; the orientation is applied after scaling.
    reader.setAutoTransform(false);
    // Qt's own check, on every image a plugin allocates, in MiB (0 would mean no limit).
    reader.setAllocationLimit(static_cast<int>(std::max<uint64_t>(budget >> 20, 1)));
    const QSize source = reader.size();
    if (!source.isValid() || source.isEmpty())
        return std::unexpected(std::string("not a readable picture"));
    const QSize target = thumb_size_for(source);
    if (reader.format() == "jpeg" && !jpeg)
        return std::unexpected(std::string("not a readable picture"));
    if (decode_cost(reader, reader.format() == "jpeg" ? jpeg : std::nullopt, source, target) > budget)
        return std::unexpected(std::string("picture too large to decode"));
    if (target != source)
        reader.setScaledSize(target);
    QImage image = reader.read();
    if (image.isNull())
        return std::unexpected(reader.errorString().toStdString());
    return oriented(fit_thumb(image), reader.transformation());
}

Decoded decode_image_file(const std::filesystem::path& path)
{
    auto file = RegularFile::open(path);
    if (!file)
        return std::unexpected(file.error());
    QFile device;
    if (!device.open(file->release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return std::unexpected(device.errorString().toStdString());
    return decode_image(device);
}

Decoded decode_image_bytes(const std::string& bytes)
{
    if (bytes.size() >= k_decode_budget)
        return std::unexpected(std::string("picture too large to decode"));
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    return decode_image(device, k_decode_budget - bytes.size());
}

QImage fit_thumb(const QImage& image)
{
    const QSize target = thumb_size_for(image.size());
    if (target == image.size())
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

ThumbPicture to_picture(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ThumbPicture picture;
    picture.width = argb.width();
    picture.height = argb.height();
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(picture.pixels.data() + static_cast<size_t>(y) * picture.width, argb.constScanLine(y),
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    return picture;
}

}
