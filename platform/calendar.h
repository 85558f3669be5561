// The calendar date, for stamping high-score rows. Read from a 64-bit
// count of seconds, so dates keep coming right long after 2038.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

struct CalendarDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
};

// Today's date in the local time zone.
CalendarDate LocalDateToday();

// The local date at a moment given in seconds since 1 January 1970 UTC.
// Falls back to the UTC date when the system cannot convert the moment.
CalendarDate LocalDateAt(int64_t unixSeconds);

// The date of a day counted from 1 January 1970 (day 0), in the proleptic
// Gregorian calendar.
CalendarDate DateFromDayNumber(int64_t days);

// For tests: LocalDateToday reports this moment instead of the real clock
// (nullopt puts the real clock back).
void SetCalendarClockForTests(std::optional<int64_t> unixSeconds);

// A replayed game dates its result as the recorded game did, whatever the
// replaying machine's clock and time zone say.
void SetCalendarDateForReplay(std::optional<CalendarDate> date);

}  // namespace platform
