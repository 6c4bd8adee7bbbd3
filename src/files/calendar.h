#pragma once
// Dates of the proleptic Gregorian calendar and times in seconds since 1970-01-01 00:00 UTC, as
// plain arithmetic, so no time-zone or platform call is involved and every platform reads a
// time alike.
#include <cstdint>

namespace kaldor {

inline constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// Days since 1970-01-01 of a date, and back.
[[nodiscard]] std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d);
[[nodiscard]] CivilDate civilFromDays(std::int64_t z);

struct UtcTime {
    CivilDate date;
    unsigned hour, minute, second;
};

// A time in seconds since 1970-01-01 00:00 UTC as its date and time of day in UTC; a time before
// 1970 too.
[[nodiscard]] UtcTime breakUtc(std::int64_t time);

}  // namespace kaldor
