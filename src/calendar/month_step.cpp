#include "calendar/month_step.h"

#include "calendar/month_grid.h"
#include "calendar/names.h"

bool stepYearMonth(YearMonth from, int n, YearMonth& to) {
  // In 64 bits, so that no step can overflow on its way.
  long long month = static_cast<long long>(from.month) + n;
  long long year = from.year;
  if (month <= 0) {
    year = year - (-month) / 12 - 1;
    month = 12 - (-month) % 12;
  } else if (month >= 13) {
    year += (month - 1) / 12;
    month = (month - 1) % 12 + 1;
  }
  if (year < kFirstYear || year > 1000000) return false;
  to.year = static_cast<int>(year);
  to.month = static_cast<int>(month);
  return true;
}

int clampDayToMonth(int day, YearMonth month) {
  int last = daysInMonth(month.year, month.month);
  return day > last ? last : day;
}

int stepDayInMonth(int day, int offset, YearMonth month) {
  int stepped = day + offset;
  int last = daysInMonth(month.year, month.month);
  if (stepped < 1) return 1;
  return stepped > last ? last : stepped;
}
