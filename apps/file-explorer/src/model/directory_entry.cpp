#include "model/directory_entry.hpp"

namespace files::model {

namespace {

constexpr int64_t k_seconds_per_day = 86'400;

// Quotient rounded down and the remainder that goes with it (0 <= remainder < divisor); no
// intermediate value can overflow, even for the extremes of int64_t.
struct DivMod {
    int64_t quotient;
    int64_t remainder;
};

DivMod floor_div_mod(int64_t value, int64_t divisor)
{
    DivMod r {value / divisor, value % divisor};
    if (r.remainder < 0) {
        r.remainder += divisor;
        --r.quotient;
    }
    return r;
}

}

// Days since 1970-01-01 to a proleptic Gregorian date, counting in 400-year eras that start on
// 1 March so that the leap day is the last day of a year.
LocalDateTime::Civil LocalDateTime::local() const
{
    // Split instant and offset into days and seconds separately so that no sum can overflow.
    DivMod instant = floor_div_mod(unix_seconds, k_seconds_per_day);
    DivMod offset = floor_div_mod(utc_offset_seconds, k_seconds_per_day);
    int64_t days = instant.quotient + offset.quotient;
    int64_t seconds = instant.remainder + offset.remainder;
    if (seconds >= k_seconds_per_day) {
        seconds -= k_seconds_per_day;
        ++days;
    }

    int64_t z = days + 719'468;
    DivMod era = floor_div_mod(z, 146'097);
    int64_t day_of_era = era.remainder;
    int64_t year_of_era = (day_of_era - day_of_era / 1'460 + day_of_era / 36'524 - day_of_era / 146'096) / 365;
    int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    int64_t month_from_march = (5 * day_of_year + 2) / 153;
    auto day = static_cast<unsigned>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
    auto month = static_cast<unsigned>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
    int64_t year = year_of_era + era.quotient * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day, static_cast<unsigned>(seconds)};
}

const char* to_string(SortBy v)
{
    switch (v) {
    case SortBy::Name: return "Name";
    case SortBy::Size: return "Size";
    case SortBy::Modified: return "Modified";
    case SortBy::Type: return "Type";
    }
    return "Name";
}

const char* to_string(SortOrder v) { return v == SortOrder::Descending ? "Descending" : "Ascending"; }

const char* to_string(ViewMode v) { return v == ViewMode::Grid ? "Grid" : "List"; }

}
