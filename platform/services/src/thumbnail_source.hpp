#pragma once

#include "thumbnail_image.hpp"

namespace kavo_services::thumbs {

enum class ThumbSource {
    // The file's own bytes.
    Content,
    // The picture the platform stores in the user.kavo.thumb attribute of a file whose content is
    // not on this machine.
    PlatformAttribute,
};

ThumbSource source_for(const ThumbRequest& request);

// Decodes the request's picture from its source.
Decoded make_thumbnail(const ThumbRequest& request, ThumbSource source);

}
