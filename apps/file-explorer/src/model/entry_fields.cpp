#include "model/entry_fields.hpp"

#include "kavo_services/mime.hpp"
#include "kavo_services/utf8.hpp"

#include <ctime>

namespace files::model {

namespace {

int32_t utc_offset_by_localtime(int64_t seconds)
{
    time_t t = static_cast<time_t>(seconds);
    struct tm local;
    if (!::localtime_r(&t, &local))
        return 0;
    return static_cast<int32_t>(local.tm_gmtoff);
}

}

std::string mime_type_for_name(std::string_view name)
{
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::string(kavo_services::k_octet_stream);
    std::string_view extension = name.substr(dot + 1);
    if (!kavo_services::is_valid_utf8(extension))
        return std::string(kavo_services::k_octet_stream);
    return kavo_services::mime_type_for_extension(extension);
}

int32_t UtcOffsets::at(int64_t seconds)
{
    // Far outside the calendar's range the hour arithmetic below could overflow.
    constexpr int64_t k_cacheable = int64_t(1) << 50;
    if (seconds <= -k_cacheable || seconds >= k_cacheable)
        return utc_offset_by_localtime(seconds);
    int64_t hour = seconds >= 0 ? seconds / 3600 : -((-seconds + 3599) / 3600);
    Slot& slot = m_slots[static_cast<size_t>(hour) % m_slots.size()];
    if (slot.filled && slot.hour == hour)
        return slot.offset;
    int32_t first = utc_offset_by_localtime(hour * 3600);
    int32_t last = utc_offset_by_localtime(hour * 3600 + 3599);
    if (first != last)
        return utc_offset_by_localtime(seconds);
    slot = {hour, first, true};
    return first;
}

}
