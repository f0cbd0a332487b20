#include "kavo_ui/image.hpp"

namespace kavo_ui {

Image Image::from_argb32(int width, int height, std::vector<uint32_t> pixels)
{
    Image image;
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height))
        return image;
    image.m_data = std::make_shared<const Data>(Data{width, height, std::move(pixels)});
    return image;
}

}
