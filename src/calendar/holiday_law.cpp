#include "calendar/holiday_law.h"

#include <cstdint>
#include <cstdio>

#include "calendar/holidays.h"
#include "calendar/month_grid.h"
#include "settings/settings_file.h"

namespace {

constexpr const char* kMainSection = "Sorvane";
constexpr const char* kLawKey = "HOLIDAY_LAW";
constexpr const char* kHolidaySection = "HOLIDAY";

constexpr const char* kSubstituteName = "振替休日";
constexpr const char* kCitizensName = "国民の休日";

// The substitute rule of 2007: a Sunday holiday moves to the next day that
// is no holiday. Before, it moved to the Monday only.
constexpr int kNearestFreeDayFrom = 2007;
// The citizens' holiday exists from the amendment of December 1985 on.
constexpr int kCitizensFrom = 1986;

// Days since 1 January 1970 of a proleptic Gregorian date.
std::int64_t dayNumber(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct Date {
  int year;
  int month;
  int day;
};

Date dateOf(std::int64_t number) {
  number += 719468;
  const std::int64_t era = (number >= 0 ? number : number - 146096) / 146097;
  const std::int64_t dayOfEra = number - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return Date{static_cast<int>(era * 400 + yearOfEra + (month <= 2)), month, day};
}

// 0 = Sunday; 1 January 1970 was a Thursday.
int weekdayOf(std::int64_t number) { return static_cast<int>(((number + 4) % 7 + 7) % 7); }

// Day of the month of its n-th Monday.
int nthMonday(int year, int month, int n) {
  const int first = weekdayOf(dayNumber(year, month, 1));
  return 1 + (8 - first) % 7 + 7 * (n - 1);
}

// The holidays the law names for their own sake ("国民の祝日"): every one
// but the substitute and citizens' days, which follow from these.
const char* namedHoliday(int year, int month, int day) {
  switch (month) {
    case 1:
      if (day == 1) return "元日";
      if (year < 2000 ? day == 15 : day == nthMonday(year, 1, 2)) return "成人の日";
      return nullptr;
    case 2:
      if (day == 11) return "建国記念の日";
      if (year >= 2020 && day == 23) return "天皇誕生日";
      if (year == 1989 && day == 24) return "昭和天皇の大喪の礼";
      return nullptr;
    case 3:
      return day == equinoxDay(year, 3) ? "春分の日" : nullptr;
    case 4:
      if (day != 29) return nullptr;
      if (year <= 1988) return "天皇誕生日";
      return year <= 2006 ? "みどりの日" : "昭和の日";
    case 5:
      if (day == 3) return "憲法記念日";
      if (day == 4 && year >= 2007) return "みどりの日";
      if (day == 5) return "こどもの日";
      if (year == 2019 && day == 1) return "天皇の即位の日";
      return nullptr;
    case 6:
      return year == 1993 && day == 9 ? "皇太子徳仁親王の結婚の儀" : nullptr;
    case 7:
      // The Olympic years moved Marine Day and Sports Day next to the games.
      if (year == 2020) return day == 23 ? "海の日" : day == 24 ? "スポーツの日" : nullptr;
      if (year == 2021) return day == 22 ? "海の日" : day == 23 ? "スポーツの日" : nullptr;
      if (year >= 1996 && year <= 2002 && day == 20) return "海の日";
      if (year >= 2003 && day == nthMonday(year, 7, 3)) return "海の日";
      return nullptr;
    case 8:
      if (year < 2016) return nullptr;
      if (year == 2020) return day == 10 ? "山の日" : nullptr;
      if (year == 2021) return day == 8 ? "山の日" : nullptr;
      return day == 11 ? "山の日" : nullptr;
    case 9:
      if (day == equinoxDay(year, 9)) return "秋分の日";
      if (year <= 2002 ? day == 15 : day == nthMonday(year, 9, 3)) return "敬老の日";
      return nullptr;
    case 10:
      if (year == 2019 && day == 22) return "即位礼正殿の儀の行われる日";
      if (year <= 1999) return day == 10 ? "体育の日" : nullptr;
      if (year == 2020 || year == 2021) return nullptr;
      if (day != nthMonday(year, 10, 2)) return nullptr;
      return year <= 2019 ? "体育の日" : "スポーツの日";
    case 11:
      if (day == 3) return "文化の日";
      if (day == 23) return "勤労感謝の日";
      if (year == 1990 && day == 12) return "即位礼正殿の儀";
      return nullptr;
    case 12:
      return year >= 1989 && year <= 2018 && day == 23 ? "天皇誕生日" : nullptr;
    default:
      return nullptr;
  }
}

const char* namedHoliday(std::int64_t number) {
  const Date d = dateOf(number);
  return namedHoliday(d.year, d.month, d.day);
}

bool isSubstitute(std::int64_t number, int year) {
  if (year < kNearestFreeDayFrom) return namedHoliday(number - 1) && weekdayOf(number - 1) == 0;
  // The day takes the place of a Sunday holiday that ends a run of holidays
  // just before it; a run is at most a week long.
  for (std::int64_t before = number - 1; number - before <= 7 && namedHoliday(before); --before) {
    if (weekdayOf(before) == 0) return true;
  }
  return false;
}

void markHoliday(DayCell& cell, int kind, const char* name) {
  cell.holidayKind = kind;
  std::snprintf(cell.holidayName, sizeof cell.holidayName, "%s", name);
}

}  // namespace

bool holidayLawEnabled() { return readSettingInt(kMainSection, kLawKey, 0) == 1; }

const char* lawHolidayName(int year, int month, int day) {
  if (const char* name = namedHoliday(year, month, day)) return name;
  const std::int64_t number = dayNumber(year, month, day);
  if (isSubstitute(number, year)) return kSubstituteName;
  if (year >= kCitizensFrom && weekdayOf(number) != 0 && namedHoliday(number - 1) &&
      namedHoliday(number + 1))
    return kCitizensName;
  return nullptr;
}

void applyHolidayLaw(MonthGrid& grid, int year, int month) {
  SettingsReadScope lookups;
  for (int i = 0; i < kGridCells; ++i) {
    DayCell& c = grid.cell(i);
    if (c.day == 0) continue;
    if (const char* name = lawHolidayName(year, month, c.day)) {
      markHoliday(c, 1, name);
      continue;
    }
    // The law replaces the section's public entries; the user's own days stay.
    char key[8];
    std::snprintf(key, sizeof key, "%02d%02d", month % 100, c.day % 100);
    char value[kHolidayNameSize];
    readSettingString(kHolidaySection, key, value, sizeof value);
    if (isUserHoliday(value)) markHoliday(c, 2, value);
  }
}
