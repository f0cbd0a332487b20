#include "thumbnail_jpeg_frame.hpp"

#include <QIODevice>
#include <algorithm>
#include <array>
#include <vector>

namespace kavo_services::thumbs {

namespace {

// Metadata segments (EXIF, ICC profiles) come before the frame header; camera files keep it
// within the first few hundred KiB.
constexpr qint64 k_max_header_offset = 4 << 20;
constexpr int k_max_segments = 512;

bool is_frame_marker(uint8_t m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool is_progressive(uint8_t m) { return m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE; }

bool read_exact(QIODevice& device, void* buffer, qint64 n) { return device.read(static_cast<char*>(buffer), n) == n; }

uint64_t ceil_div(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

std::optional<JpegFrame> parse_frame(uint8_t marker, const uint8_t* p, size_t n)
{
    if (n < 6)
        return std::nullopt;
    JpegFrame frame;
    frame.height = (p[1] << 8) | p[2];
    frame.width = (p[3] << 8) | p[4];
    frame.progressive = is_progressive(marker);
    size_t components = p[5];
    if (components == 0 || n < 6 + 3 * components || frame.width == 0)
        return std::nullopt;
    int h_max = 1;
    int v_max = 1;
    for (size_t c = 0; c < components; ++c) {
        h_max = std::max(h_max, p[6 + 3 * c + 1] >> 4);
        v_max = std::max(v_max, p[6 + 3 * c + 1] & 0xf);
    }
    if (!frame.progressive)
        return frame;
    // Blocks per component, padded to whole MCUs as the decoder allocates them; 64 coefficients
    // of 2 bytes each.
    const uint64_t mcu_columns = ceil_div(static_cast<uint64_t>(frame.width), 8ull * h_max);
    const uint64_t mcu_rows = ceil_div(static_cast<uint64_t>(frame.height), 8ull * v_max);
    for (size_t c = 0; c < components; ++c) {
        const int h = std::max(1, p[6 + 3 * c + 1] >> 4);
        const int v = std::max(1, p[6 + 3 * c + 1] & 0xf);
        frame.coefficient_bytes += mcu_columns * h * mcu_rows * v * 128;
    }
    return frame;
}

}

std::optional<JpegFrame> read_jpeg_frame(QIODevice& device)
{
    std::array<uint8_t, 2> soi {};
    if (!read_exact(device, soi.data(), 2) || soi[0] != 0xFF || soi[1] != 0xD8)
        return std::nullopt;
    for (int segment = 0; segment < k_max_segments && device.pos() < k_max_header_offset; ++segment) {
        uint8_t byte = 0;
        if (!read_exact(device, &byte, 1) || byte != 0xFF)
            return std::nullopt;
        uint8_t marker = 0xFF;
        while (marker == 0xFF)
            if (!read_exact(device, &marker, 1))
                return std::nullopt;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (marker == 0xDA || marker == 0xD9)
            return std::nullopt;
        std::array<uint8_t, 2> length_bytes {};
        if (!read_exact(device, length_bytes.data(), 2))
            return std::nullopt;
        const int length = (length_bytes[0] << 8) | length_bytes[1];
        if (length < 2)
            return std::nullopt;
        if (is_frame_marker(marker)) {
            std::vector<uint8_t> body(static_cast<size_t>(length - 2));
            if (!read_exact(device, body.data(), length - 2))
                return std::nullopt;
            return parse_frame(marker, body.data(), static_cast<size_t>(length - 2));
        }
        if (!device.seek(device.pos() + length - 2))
            return std::nullopt;
    }
    return std::nullopt;
}

}
