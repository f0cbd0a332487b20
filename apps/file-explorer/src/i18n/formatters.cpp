#include "i18n/formatters.hpp"

#include "i18n/catalog.hpp"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/timezone.h>

#include <fmt/format.h>

#include <map>
#include <memory>

namespace files::i18n {

namespace {

constexpr const char* k_units[] = {"B", "kB", "MB", "GB", "TB", "PB", "EB"};

// The date-time formatter of a locale, made once; the time zone is set for every call.
icu::DateFormat* date_format_for(const std::string& tag)
{
    static std::map<std::string, std::unique_ptr<icu::DateFormat>> cache;
    auto it = cache.find(tag);
    if (it == cache.end()) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale locale = icu::Locale::forLanguageTag(tag, status);
        std::unique_ptr<icu::DateFormat> format;
        if (U_SUCCESS(status) && !locale.isBogus())
            format.reset(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium, icu::DateFormat::kShort, locale));
        it = cache.emplace(tag, std::move(format)).first;
    }
    return it->second.get();
}

int32_t local_offset_seconds(int64_t ms)
{
    // Detected afresh: a changed TZ (or zone database) shows at the next call.
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone->getOffset(double(ms), false, raw, dst, status);
    return U_SUCCESS(status) ? (raw + dst) / 1000 : 0;
}

}

std::string format_bytes(uint64_t bytes)
{
    const auto& catalog = i18n::catalog();
    std::string number;
    size_t unit = 0;
    if (bytes < 1000) {
        number = catalog.format_number(int64_t(bytes));
    } else {
        // The unit is chosen before rounding, so 999,960 bytes are "1000 kB".
        unsigned __int128 size = 1000;
        unit = 1;
        while (unit < 6 && bytes >= size * 1000) {
            size *= 1000;
            ++unit;
        }
        auto tenths = (unsigned __int128)bytes * 10 + size / 2;
        tenths /= size;
        if (tenths % 10 == 0)
            number = catalog.format_number(int64_t(tenths / 10));
        else
            number = catalog.format_decimal(double(uint64_t(tenths)) / 10.0, 1);
    }
    return number + "\u00a0" + k_units[unit];
}

std::string format_time_fallback(const model::LocalDateTime& time)
{
    auto c = time.local();
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", c.year, c.month, c.day, c.seconds_of_day / 3600,
                       (c.seconds_of_day / 60) % 60);
}

std::string format_time(const model::LocalDateTime& time)
{
    auto civil = time.local();
    if (civil.seconds_of_day >= 86400)
        return format_time_fallback(time);
    icu::DateFormat* format = date_format_for(i18n::catalog().locale());
    if (!format)
        return format_time_fallback(time);
    // The stored offset is the one the local clock had at that instant; formatting in a fixed
    // zone of that offset shows exactly that local time.
    format->adoptTimeZone(new icu::SimpleTimeZone(time.utc_offset_seconds * 1000, "local"));
    double ms = double(time.unix_seconds) * 1000.0 + double(time.nanoseconds / 1000000);
    icu::UnicodeString text;
    format->format(ms, text);
    if (text.isEmpty())
        return format_time_fallback(time);
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::string format_epoch_ms(int64_t ms)
{
    // Year 9999 is the end of the calendar the formatters are made for.
    constexpr int64_t k_calendar_end_ms = 253402300800000;  // 10000-01-01T00:00:00Z
    if (ms < 0 || ms >= k_calendar_end_ms)
        return i18n::t("files-time-unknown");
    model::LocalDateTime time;
    time.unix_seconds = ms / 1000;
    time.nanoseconds = uint32_t(ms % 1000) * 1000000u;
    time.utc_offset_seconds = local_offset_seconds(ms);
    return format_time(time);
}

std::string format_modified(const std::optional<model::LocalDateTime>& time)
{
    return time ? format_time(*time) : std::string("—");
}

}
