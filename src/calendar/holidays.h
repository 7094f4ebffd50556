#pragma once
// Japanese public holidays: fixed dates from the settings file's "HOLIDAY"
// section, the equinox days by formula, substitute holidays for Sunday
// holidays, citizens' holidays between two public holidays and the
// weekday-rule holidays of the built-in table. The rules run on a
// MonthGrid (MonthGrid::applyHolidays, MonthGrid::applyWeekdayRules).

constexpr int kWeekdayRuleNameSize = 256;

struct WeekdayRule {
  int fromYear;  // first year the rule holds; 0 ends the table
  int month;
  int week;      // which occurrence of the weekday, 1 = the first
  int weekday;   // 0 = Sunday
  char name[kWeekdayRuleNameSize];
};

// The built-in table, ended by an all-zero record.
const WeekdayRule* weekdayRules();

// Day of the equinox holiday for month 3 or 9 of the year.
int equinoxDay(int year, int month);
// True when a "HOLIDAY" value names a weekday rule in force in the year.
bool isSupersededByRule(const char* value, int year);
// True when the value carries the user-holiday marker "||1".
bool isUserHoliday(const char* value);
