#include "platform/calendar.h"

#include <chrono>
#include <ctime>
#include <limits>

namespace platform {

namespace {
std::optional<int64_t> fixedClock;
std::optional<CalendarDate> replayDate;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
}  // namespace

CalendarDate DateFromDayNumber(int64_t days) {
  // Count in 400-year eras from 1 March 0000, so the leap day ends a year.
  int64_t z = days + 719468;
  int64_t era = FloorDiv(z, 146097);
  int64_t dayOfEra = z - era * 146097;
  int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  int64_t mp = (5 * dayOfYear + 2) / 153;
  CalendarDate date;
  date.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  int64_t year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
  if (year > std::numeric_limits<int>::max()) year = std::numeric_limits<int>::max();
  if (year < std::numeric_limits<int>::min()) year = std::numeric_limits<int>::min();
  date.year = static_cast<int>(year);
  return date;
}

CalendarDate LocalDateAt(int64_t unixSeconds) {
  // time_t is 64 bits on every host we build for; where it is not, the
  // moment may not fit and the UTC date stands in.
  if (unixSeconds >= static_cast<int64_t>(std::numeric_limits<std::time_t>::min()) &&
      unixSeconds <= static_cast<int64_t>(std::numeric_limits<std::time_t>::max())) {
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
#ifdef _WIN32
    bool ok = localtime_s(&local, &t) == 0;
#else
    bool ok = localtime_r(&t, &local) != nullptr;
#endif
    if (ok) {
      CalendarDate date;
      date.year = local.tm_year + 1900;
      date.month = local.tm_mon + 1;
      date.day = local.tm_mday;
      return date;
    }
  }
  return DateFromDayNumber(FloorDiv(unixSeconds, 86400));
}

CalendarDate LocalDateToday() {
  if (replayDate) return *replayDate;
  int64_t now = fixedClock ? *fixedClock
                           : std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
  return LocalDateAt(now);
}

void SetCalendarClockForTests(std::optional<int64_t> unixSeconds) { fixedClock = unixSeconds; }

void SetCalendarDateForReplay(std::optional<CalendarDate> date) { replayDate = date; }

}  // namespace platform
