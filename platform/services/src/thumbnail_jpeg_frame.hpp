#pragma once

#include <cstdint>
#include <optional>

class QIODevice;

namespace kavo_services::thumbs {

// What a JPEG decoder must hold beyond its output rows, read from the frame header.
struct JpegFrame {
    int width = 0;
    int height = 0;
    bool progressive = false;
    // A progressive picture keeps every DCT coefficient of the whole picture until the last scan,
    // whatever the output scale; a sequential one needs only a row of blocks.
    uint64_t coefficient_bytes = 0;
};

// Reads markers from the device's current position up to the first frame header. Nothing when
// the data is not a JPEG or the header is not found near the start.
std::optional<JpegFrame> read_jpeg_frame(QIODevice& device);

}
