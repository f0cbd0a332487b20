#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo_ui {

// An immutable picture in premultiplied ARGB32 (one uint32_t per pixel, 0xAARRGGBB), shared by
// value. A default-constructed Image is null.
class Image {
public:
    Image() = default;
    static Image from_argb32(int width, int height, std::vector<uint32_t> pixels);

    bool is_null() const { return !m_data; }
    int width() const { return m_data ? m_data->width : 0; }
    int height() const { return m_data ? m_data->height : 0; }
    const uint32_t* pixels() const { return m_data ? m_data->pixels.data() : nullptr; }
    // Identity of the pixel buffer, for backend caches.
    const void* identity() const { return m_data.get(); }

private:
    struct Data {
        int width;
        int height;
        std::vector<uint32_t> pixels;
    };
    std::shared_ptr<const Data> m_data;
};

}
