#include "model/directory_entry.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

using files::model::LocalDateTime;

TEST(LocalDateTime, CivilDateIsProlepticGregorianAlsoBeforeTheEpoch)
{
    struct Row {
        const char* name;
        int64_t seconds;
        int32_t offset;
        int64_t year;
        unsigned month, day, seconds_of_day;
    };
    const Row rows[] = {
        {"epoch", 0, 0, 1970, 1, 1, 0},
        {"one second before the epoch", -1, 0, 1969, 12, 31, 86399},
        {"an offset carries into the next day", 86399, 1, 1970, 1, 2, 0},
        {"a negative offset goes back a day", 0, -3600, 1969, 12, 31, 82800},
        {"leap day of a 400-year century", 951782400, 0, 2000, 2, 29, 0},
        {"1900 has no leap day", -2203891200, 0, 1900, 3, 1, 0},
        {"first day of year 1", -62135596800, 0, 1, 1, 1, 0},
        {"year 0 is a leap year", -62162121600, 0, 0, 2, 29, 0},
        {"year -1", -62198755200, 43200, -1, 1, 1, 43200},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto civil = LocalDateTime {row.seconds, 0, row.offset}.local();
        EXPECT_EQ(civil.year, row.year);
        EXPECT_EQ(civil.month, row.month);
        EXPECT_EQ(civil.day, row.day);
        EXPECT_EQ(civil.seconds_of_day, row.seconds_of_day);
    }
}

TEST(LocalDateTime, ExtremeInstantsAndOffsetsStayInRange)
{
    // Any overflow on the way would stop the run under UBSan.
    for (int64_t seconds : {std::numeric_limits<int64_t>::min(), int64_t(-1), std::numeric_limits<int64_t>::max()}) {
        for (int32_t offset : {std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max()}) {
            auto civil = LocalDateTime {seconds, 0, offset}.local();
            EXPECT_GE(civil.month, 1u);
            EXPECT_LE(civil.month, 12u);
            EXPECT_GE(civil.day, 1u);
            EXPECT_LE(civil.day, 31u);
            EXPECT_LT(civil.seconds_of_day, 86400u);
        }
    }
}

}
