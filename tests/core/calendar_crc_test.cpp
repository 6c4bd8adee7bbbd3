// The calendar arithmetic under the history's times (before 1970 too, across leap days and
// centuries) and the CRC-32 its entry files are checked with, against known values.
#include <gtest/gtest.h>

#include <string_view>

#include "files/calendar.h"
#include "files/crc.h"

namespace kaldor {
namespace {

TEST(Calendar, DaysAndDatesAgreeWithKnownValuesAndEachOther) {
    struct Known {
        std::int64_t year;
        unsigned month, day;
        std::int64_t days;
    };
    for (const Known k : {Known{1970, 1, 1, 0}, Known{1969, 12, 31, -1}, Known{2000, 2, 29, 11016},
                          Known{2000, 3, 1, 11017}, Known{1900, 3, 1, -25508},
                          Known{2100, 3, 1, 47541}, Known{1600, 1, 1, -135140}}) {
        EXPECT_EQ(daysFromCivil(k.year, k.month, k.day), k.days) << k.year << "-" << k.month;
        const CivilDate d = civilFromDays(k.days);
        EXPECT_EQ(d.year, k.year) << k.days;
        EXPECT_EQ(d.month, k.month) << k.days;
        EXPECT_EQ(d.day, k.day) << k.days;
    }
    for (std::int64_t z = -200000; z <= 200000; z += 7) {
        const CivilDate d = civilFromDays(z);
        ASSERT_EQ(daysFromCivil(d.year, d.month, d.day), z);
    }
}

TEST(Calendar, UtcTimeOfDayHoldsBefore1970) {
    const UtcTime t = breakUtc(-1);
    EXPECT_EQ(t.date.year, 1969);
    EXPECT_EQ(t.date.month, 12u);
    EXPECT_EQ(t.date.day, 31u);
    EXPECT_EQ(t.hour * 3600 + t.minute * 60 + t.second, 86399u);
    const UtcTime u = breakUtc(951782400 + 3 * 3600 + 4 * 60 + 5);  // 2000-02-29T03:04:05Z
    EXPECT_EQ(u.date.day, 29u);
    EXPECT_EQ(u.hour, 3u);
    EXPECT_EQ(u.minute, 4u);
    EXPECT_EQ(u.second, 5u);
}

TEST(Crc32, KnownValuesOfZip) {
    const auto crc = [](std::string_view text) {
        return crc32(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    EXPECT_EQ(crc(""), 0x00000000u);
    EXPECT_EQ(crc("a"), 0xe8b7be43u);
    EXPECT_EQ(crc("123456789"), 0xcbf43926u);
    EXPECT_EQ(crc("The quick brown fox jumps over the lazy dog"), 0x414fa339u);
}

}  // namespace
}  // namespace kaldor
