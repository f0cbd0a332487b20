#include "i18n/catalog.hpp"
#include "i18n/formatters.hpp"
#include "model/column_texts.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace files;

namespace {

// Switches locale and time zone for one test and restores both.
class Formatting : public ::testing::Test {
protected:
    void use(const char* locale, const char* tz = "UTC")
    {
        i18n::use_locale(locale);
        setenv("TZ", tz, 1);
        tzset();
    }
    void TearDown() override
    {
        i18n::use_locale("en-US");
        unsetenv("TZ");
        tzset();
    }
};

model::LocalDateTime at(int64_t unix_seconds, int32_t offset = 0) { return {unix_seconds, 0, offset}; }

}

TEST_F(Formatting, ByteCountsRoundInDecimalUnits)
{
    const struct {
        uint64_t bytes;
        const char* en;
        const char* de;
    } cases[] = {
        {0, "0\u00a0B", "0\u00a0B"},
        {999, "999\u00a0B", "999\u00a0B"},
        {1000, "1\u00a0kB", "1\u00a0kB"},
        {1049, "1\u00a0kB", "1\u00a0kB"},
        {1050, "1.1\u00a0kB", "1,1\u00a0kB"},
        {1500, "1.5\u00a0kB", "1,5\u00a0kB"},
        {999960, "1,000\u00a0kB", "1.000\u00a0kB"},
        {2000000, "2\u00a0MB", "2\u00a0MB"},
        {1000000000000000000ull, "1\u00a0EB", "1\u00a0EB"},
        {18446744073709551615ull, "18.4\u00a0EB", "18,4\u00a0EB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        use("en-US");
        EXPECT_EQ(i18n::format_bytes(c.bytes), c.en);
        use("de-DE");
        EXPECT_EQ(i18n::format_bytes(c.bytes), c.de);
    }
}

TEST_F(Formatting, TimesFollowTheLocaleAndTheirOwnOffset)
{
    use("en-US");
    // 2024-03-05 14:07:00 UTC, shown at an offset of +01:00.
    EXPECT_EQ(i18n::format_time(at(1709647620, 3600)), "Mar 5, 2024, 3:07\u202fPM");
    use("de-DE");
    EXPECT_EQ(i18n::format_time(at(1709647620, 3600)), "05.03.2024, 15:07");
    EXPECT_EQ(i18n::format_time_fallback(at(1709647620, 3600)), "2024-03-05 15:07");
    // Before 1970 still formats.
    EXPECT_EQ(i18n::format_modified(at(-86400 * 365)), "01.01.1969, 00:00");
    EXPECT_EQ(i18n::format_modified(std::nullopt), "—");
}

TEST_F(Formatting, EpochMillisecondsUseTheCurrentZone)
{
    use("en-US", "Europe/Berlin");
    EXPECT_EQ(i18n::format_epoch_ms(-1), "unknown time");
    EXPECT_EQ(i18n::format_epoch_ms(253402300800000), "unknown time");
    EXPECT_EQ(i18n::format_epoch_ms(0), "Jan 1, 1970, 1:00\u202fAM");
    EXPECT_EQ(i18n::format_epoch_ms(1720000000000), "Jul 3, 2024, 11:46\u202fAM") << "summer time";
    use("en-US", "America/New_York");
    EXPECT_EQ(i18n::format_epoch_ms(0), "Dec 31, 1969, 7:00\u202fPM") << "the zone is looked up afresh";
}

TEST_F(Formatting, UnknownLocalesFormatNumbersTheirOwnWay)
{
    use("fr-FR");
    EXPECT_EQ(i18n::format_bytes(1500), "1,5\u00a0kB");
    EXPECT_EQ(i18n::format_bytes(999960), "1\u202f000\u00a0kB");
    EXPECT_EQ(i18n::t("files-app-title"), "Files") << "texts fall back to en-US";
}

TEST_F(Formatting, ColumnTexts)
{
    use("en-US");
    model::DirectoryEntry folder;
    folder.is_folder = true;
    folder.size = 4096;
    model::DirectoryEntry file;
    file.size = 1500;
    EXPECT_EQ(model::size_text(folder), "—");
    EXPECT_EQ(model::size_text(file), "1.5\u00a0kB");
    EXPECT_EQ(model::modified_text(file), "—");
}
