#include "calendar/holidays.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "calendar/month_grid.h"
#include "platform/sjis.h"
#include "settings/settings_file.h"

namespace {

// Holidays that moved from a fixed date to a weekday. Their old fixed-date
// entries in the settings file are dropped from fromYear on (see
// isSupersededByRule), so one settings file serves earlier years too.
constexpr WeekdayRule kWeekdayRules[] = {
    {2000, 1, 2, 1, "成人の日"},
    {2003, 7, 3, 1, "海の日"},
    {2003, 9, 3, 1, "敬老の日"},
    {2000, 10, 2, 1, "体育の日"},
    {0, 0, 0, 0, ""},
};

constexpr const char* kHolidaySection = "HOLIDAY";
constexpr std::size_t kHolidayValueSize = 256;

constexpr const char* kSubstituteName = "振替休日";
constexpr const char* kCitizensName = "国民の休日";
constexpr const char* kVernalEquinoxName = "春分の日";
constexpr const char* kAutumnalEquinoxName = "秋分の日";

// Where the user-holiday marker "||" starts, or npos. A double-byte
// character such as "ポ" (83 7C) ends in the byte '|', which must not be
// taken for half of the marker.
std::size_t findMarker(std::string_view value) { return sjisFind(value, "||"); }

void markHoliday(DayCell& cell, int kind, const char* name) {
  cell.holidayKind = kind;
  std::snprintf(cell.holidayName, sizeof cell.holidayName, "%s", name);
}

}  // namespace

const WeekdayRule* weekdayRules() { return kWeekdayRules; }

int equinoxDay(int year, int month) {
  // 64-bit so that no int year can overflow the subtraction.
  const std::int64_t y = static_cast<std::int64_t>(year) - 1980;
  const std::int64_t q = y / 4;  // truncates toward zero, also before 1980
  const double base = month == 3 ? 20.8431 : 23.2488;
  return static_cast<int>(base + 0.242194 * static_cast<double>(y) - static_cast<double>(q));
}

bool isSupersededByRule(const char* value, int year) {
  if (!value) return false;
  std::string_view name(value);
  name = name.substr(0, findMarker(name));
  for (const WeekdayRule* rule = weekdayRules(); rule->fromYear != 0; ++rule) {
    if (rule->fromYear <= year && name == rule->name) return true;
  }
  return false;
}

bool isUserHoliday(const char* value) {
  if (!value) return false;
  std::string_view text(value);
  const std::size_t marker = findMarker(text);
  return marker != std::string_view::npos && marker + 2 < text.size() && text[marker + 2] == '1';
}

void MonthGrid::applyHolidays(int year, int month) {
  // Some thirty "HOLIDAY" lookups, answered from one read of the file.
  SettingsReadScope lookups;
  const bool equinoxMonth = month == 3 || month == 9;
  const int equinox = equinoxMonth ? equinoxDay(year, month) : 0;

  // A substitute goes to the next cell only; when that Monday has an entry of
  // its own, its later visit replaces the substitute. After the last day of
  // the month there is no cell to take it.
  auto giveSubstitute = [this](int index) {
    if (index + 1 < kGridCells && cells_[index + 1].day != 0)
      markHoliday(cells_[index + 1], 1, kSubstituteName);
  };

  for (int i = 0; i < kGridCells; ++i) {
    DayCell& c = cells_[i];
    if (c.day == 0) continue;

    char key[8];
    std::snprintf(key, sizeof key, "%02d%02d", month % 100, c.day % 100);
    char value[kHolidayValueSize];
    readSettingString(kHolidaySection, key, value, sizeof value);
    if (value[0] != '\0' && !isSupersededByRule(value, year)) {
      if (isUserHoliday(value)) {
        // A user's own holiday is shown, but takes no part in the rules.
        markHoliday(c, 2, value);
      } else {
        markHoliday(c, 1, value);
        if (c.weekday == 0) giveSubstitute(i);
      }
    }

    if (equinoxMonth && c.day == equinox) {
      markHoliday(c, 1, month == 3 ? kVernalEquinoxName : kAutumnalEquinoxName);
      if (c.weekday == 0) giveSubstitute(i);
    }
  }

  // In index order and in place: a day just named a citizens' holiday counts
  // as a neighbour for the next day.
  for (DayCell& c : cells_) {
    if (c.day != 0 && isCitizensHoliday(c.day)) markHoliday(c, 1, kCitizensName);
  }
}

bool MonthGrid::isCitizensHoliday(int day) const {
  const DayCell* before = findDay(day - 1);
  const DayCell* self = findDay(day);
  const DayCell* after = findDay(day + 1);
  if (!before || !self || !after) return false;
  // For the 1st, findDay(0) is an empty cell whose kind is 0.
  return before->holidayKind == 1 && after->holidayKind == 1 && before->weekday != 0 &&
         after->weekday != 0 && self->weekday != 0;
}

void MonthGrid::applyWeekdayRules(int year, int month) {
  for (const WeekdayRule* rule = weekdayRules(); rule->fromYear != 0; ++rule) {
    if (year < rule->fromYear || rule->month != month) continue;
    int seen = 0;
    for (DayCell& c : cells_) {
      if (c.day == 0 || c.weekday != rule->weekday) continue;
      if (++seen == rule->week) {
        markHoliday(c, 1, rule->name);
        break;
      }
    }
  }
}
