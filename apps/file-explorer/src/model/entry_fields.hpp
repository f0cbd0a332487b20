#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace files::model {

// The MIME type of an entry from its name: the text after the last dot (a name whose only dot
// is its first byte has none); application/octet-stream when there is none or it is not UTF-8.
std::string mime_type_for_name(std::string_view name);

// The local zone's UTC offset at an instant. localtime_r costs about a microsecond, and the items
// of a folder (or an archive) cluster in time, so offsets are kept per hour. An hour is cached only
// when its first and last second have the same offset (no zone changes twice within one hour); an
// hour that holds a change is asked per instant.
class UtcOffsets {
public:
    int32_t at(int64_t seconds);

private:
    struct Slot {
        int64_t hour = 0;
        int32_t offset = 0;
        bool filled = false;
    };
    std::array<Slot, 256> m_slots {};
};

}
