#include "calendar/month_grid.h"

#include <cstdint>

#include "calendar/holiday_law.h"
#include "calendar/names.h"
#include "settings/settings_file.h"

namespace {

// Leap years from year 1 up to and including `year` (year >= 1).
std::int64_t leapYearsThrough(std::int64_t year) {
  return year / 4 - year / 100 + year / 400;
}

// Days from 1 January 1980 to 1 January of `year` (year >= 1980). The same
// count as adding 365 or 366 year by year, without a loop whose length grows
// with the year: the grid is rebuilt on every change of month. 64 bits keep
// the count exact for any int year.
std::int64_t daysBeforeYear(int year) {
  std::int64_t years = static_cast<std::int64_t>(year) - kFirstYear;
  return 365 * years + leapYearsThrough(year - 1) - leapYearsThrough(kFirstYear - 1);
}

}  // namespace

bool MonthGrid::build(int year, int month) {
  monthMemo_.reset();
  for (DayCell& c : cells_) {
    // weekday and memoColor stay: painting and the memo store rely on a
    // rebuilt grid keeping them until a memo is loaded or stored.
    c.day = 0;
    c.holidayKind = 0;
    c.holidayName[0] = '\0';
    c.memo.reset();
  }
  // Before 1980 the count below has nothing to add and every weekday would be
  // wrong, so such a month is not laid out at all.
  if (year < kFirstYear || month < 1 || month > 12) return false;

  std::int64_t days = daysBeforeYear(year);
  for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
  // 1 January 1980 was a Tuesday, column 2.
  const int firstColumn = static_cast<int>((days + 2) % 7);

  const int length = daysInMonth(year, month);
  for (int d = 1; d <= length; ++d) {
    DayCell& c = cells_[firstColumn + d - 1];
    c.day = d;
    c.weekday = (firstColumn + d - 1) % 7;
  }

  // One read of the settings file for the key and the holiday lookups.
  SettingsReadScope lookups;
  if (holidayLawEnabled()) {
    applyHolidayLaw(*this, year, month);
    return true;
  }
  // Citizens' holidays are found between the holidays of applyHolidays only;
  // the weekday rules must come afterwards so that they never count.
  applyHolidays(year, month);
  applyWeekdayRules(year, month);
  return true;
}

const DayCell* MonthGrid::findDay(int day) const {
  for (const DayCell& c : cells_) {
    if (c.day == day) return &c;
  }
  return nullptr;
}

DayCell* MonthGrid::findDay(int day) {
  return const_cast<DayCell*>(static_cast<const MonthGrid&>(*this).findDay(day));
}

bool MonthGrid::setMonthMemo(std::string_view text) {
  // Free the old block first so that a short-memory failure leaves no memo
  // rather than a stale one.
  monthMemo_.reset();
  bool ok = false;
  monthMemo_ = MemoText::copyOf(text, &ok);
  return ok;
}
