#include "calendar/lunar_calendar.h"

#include <cmath>
#include <cstdio>

#include "calendar/astronomy.h"
#include "calendar/names.h"

namespace {

constexpr double kSynodicMonth = 29.530588861;
constexpr double kJstOffsetDays = 9.0 / 24.0;
// The JST day of the new moon of lunation 0 (2000-01-06).
constexpr int kLunationZeroDay = 10962;
// The solar longitude of the winter solstice, as a 30-degree zone index.
constexpr int kSolsticeZone = 9;
// The short solar series is good to 0.01 degree; closer than this to a zone
// boundary the full series decides.
constexpr double kApproximationMargin = 0.05;

double yearOfJulianDay(double julianDay) { return 2000.0 + (julianDay - 2451545.0) / 365.2425; }

// The JST date of the new moon of lunation k.
int newMoonDay(int k) {
  const double tt = newMoonTT(k);
  const double ut = tt - deltaTSeconds(yearOfJulianDay(tt)) / 86400.0;
  return static_cast<int>(std::floor(ut + kJstOffsetDays - kJulianDayOfEpoch));
}

// floor(longitude / 30) of the Sun at 00:00 JST of the day: a month holds a
// principal term exactly when this differs between its first day and the
// next month's first day.
int solarZoneAtDayStart(int dayNumber) {
  const double ut = kJulianDayOfEpoch + dayNumber - kJstOffsetDays;
  const double tt = ut + deltaTSeconds(yearOfJulianDay(ut)) / 86400.0;
  double longitude = approximateSolarLongitude(tt);
  const double intoZone = std::fmod(longitude, 30.0);
  if (intoZone < kApproximationMargin || intoZone > 30.0 - kApproximationMargin)
    longitude = apparentSolarLongitude(tt);
  const int zone = static_cast<int>(longitude / 30.0);
  return zone > 11 ? 11 : zone;
}

// The lunation that begins on or before the day and ends after it.
int lunationOf(int dayNumber) {
  int k = static_cast<int>(std::floor((dayNumber - kLunationZeroDay) / kSynodicMonth));
  while (newMoonDay(k) > dayNumber) --k;
  while (newMoonDay(k + 1) <= dayNumber) ++k;
  return k;
}

// The lunation holding the JST date of the December solstice of the year.
int eleventhMonthOf(int year) {
  int k = lunationOf(civilDayNumber(year, 12, 21));
  // The solstice is on 21 or 22 December, so at most one step is needed;
  // the bound only guards against a broken series.
  for (int step = 0; step < 4; ++step) {
    if (solarZoneAtDayStart(newMoonDay(k + 1)) < kSolsticeZone) {
      ++k;  // the month ends before the solstice
    } else if (solarZoneAtDayStart(newMoonDay(k)) >= kSolsticeZone) {
      --k;  // the month begins after it
    } else {
      break;
    }
  }
  return k;
}

int civilYearOf(int dayNumber) {
  // Inverse of civilDayNumber for the year alone.
  const int z = dayNumber + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int dayOfEra = z - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int monthIndex = (5 * dayOfYear + 2) / 153;  // 0 = March
  return yearOfEra + era * 400 + (monthIndex >= 10 ? 1 : 0);
}

constexpr const char* kRokuyoNames[6] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};

}  // namespace

int civilDayNumber(int year, int month, int day) {
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

bool lunarYearOf(int dayNumber, LunarYear& year) {
  year = LunarYear();
  if (dayNumber < civilDayNumber(kLunarFirstYear, 1, 1) || dayNumber > civilDayNumber(kLunarLastYear, 12, 31))
    return false;
  const int civilYear = civilYearOf(dayNumber);
  int first = eleventhMonthOf(civilYear);
  int next = 0;
  if (newMoonDay(first) <= dayNumber) {
    next = eleventhMonthOf(civilYear + 1);
  } else {
    next = first;
    first = eleventhMonthOf(civilYear - 1);
  }
  const int count = next - first;
  if (count != 12 && count != 13) return false;
  year.count = count;
  for (int i = 0; i <= count; ++i) year.monthStart[i] = newMoonDay(first + i);
  if (count == 13) {
    int zone = solarZoneAtDayStart(year.monthStart[1]);
    for (int i = 1; i < count; ++i) {
      const int nextZone = solarZoneAtDayStart(year.monthStart[i + 1]);
      if (nextZone == zone) {
        year.leapIndex = i;
        break;
      }
      zone = nextZone;
    }
  }
  return true;
}

LunarDate lunarDateIn(const LunarYear& year, int dayNumber) {
  LunarDate date;
  for (int i = 0; i < year.count; ++i) {
    if (dayNumber < year.monthStart[i] || dayNumber >= year.monthStart[i + 1]) continue;
    const int counted = year.leapIndex >= 0 && i >= year.leapIndex ? i - 1 : i;
    date.month = (counted + 10) % 12 + 1;  // index 0 is the 11th month
    date.day = dayNumber - year.monthStart[i] + 1;
    date.leap = i == year.leapIndex;
    break;
  }
  return date;
}

LunarDate lunarDateOf(int year, int month, int day) {
  LunarYear lunarYear;
  const int dayNumber = civilDayNumber(year, month, day);
  if (!lunarYearOf(dayNumber, lunarYear)) return LunarDate();
  return lunarDateIn(lunarYear, dayNumber);
}

Rokuyo rokuyoOf(const LunarDate& date) { return static_cast<Rokuyo>((date.month + date.day) % 6); }

const char* rokuyoName(Rokuyo value) {
  const int index = static_cast<int>(value);
  return index >= 0 && index < 6 ? kRokuyoNames[index] : "";
}

bool buildMonthLunarDates(int year, int month, MonthLunarDates& out) {
  out.dayCount = 0;
  if (year < kLunarFirstYear || year > kLunarLastYear || month < 1 || month > 12) return false;
  const int first = civilDayNumber(year, month, 1);
  const int days = daysInMonth(year, month);
  LunarYear lunarYear;
  if (!lunarYearOf(first, lunarYear)) return false;
  for (int day = 1; day <= days; ++day) {
    const int dayNumber = first + day - 1;
    // A month reaches into the next lunar year only around December.
    if (dayNumber >= lunarYear.monthStart[lunarYear.count] && !lunarYearOf(dayNumber, lunarYear)) return false;
    out.days[day] = lunarDateIn(lunarYear, dayNumber);
  }
  out.dayCount = days;
  return true;
}

std::string_view formatLunarDate(const LunarDate& date, char* buffer, int capacity) {
  if (date.month == 0 || capacity <= 0) return {};
  const int n = std::snprintf(buffer, static_cast<std::size_t>(capacity), "%s%d/%d", date.leap ? "閏" : "",
                              date.month, date.day);
  if (n < 0) return {};
  return std::string_view(buffer, n < capacity ? static_cast<std::size_t>(n) : static_cast<std::size_t>(capacity - 1));
}
