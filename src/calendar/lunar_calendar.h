#pragma once
// The lunisolar calendar (旧暦) as used in Japan today, for Japan Standard
// Time (UTC+9), and the six-day cycle (六曜) that follows from it.
//
// A month begins on the JST date of a new moon. The month holding the
// winter solstice is the 11th. When 13 months begin after one 11th month up
// to and including the next, the first of them that holds no principal term
// (the Sun's apparent longitude a multiple of 30 degrees, 中気) is the leap
// month of the month before it; otherwise there is no leap month, even where
// a month lacks a principal term.
//
// Everything is computed on request from the astronomy in astronomy.h; the
// records are plain values with no state kept between calls.

#include <string_view>

// Dates from 1900-01-01 to 2199-12-31 are supported.
constexpr int kLunarFirstYear = 1900;
constexpr int kLunarLastYear = 2199;

struct LunarDate {
  int month = 0;  // 1..12; 0 when the date is outside the supported range
  int day = 0;    // 1..30
  bool leap = false;
};

// One year of the calendar, from the first day of an 11th month to the day
// before the next 11th month, as day numbers (days since 1970-01-01).
struct LunarYear {
  int monthStart[14] = {};  // monthStart[count] is the next 11th month's first day
  int count = 0;            // 12 or 13 months
  int leapIndex = -1;       // the index of the leap month, or -1
};

// Days since 1970-01-01 of a proleptic Gregorian date.
int civilDayNumber(int year, int month, int day);

// The lunar year holding `dayNumber`. False outside the supported range.
bool lunarYearOf(int dayNumber, LunarYear& year);
// The month and day of `dayNumber` in `year`, which must hold it.
LunarDate lunarDateIn(const LunarYear& year, int dayNumber);
// Both in one; a zero LunarDate outside the supported range.
LunarDate lunarDateOf(int year, int month, int day);

enum class Rokuyo { Taian = 0, Shakku = 1, Sensho = 2, Tomobiki = 3, Senbu = 4, Butsumetsu = 5 };

// (lunar month + lunar day) mod 6; a leap month counts as its number.
Rokuyo rokuyoOf(const LunarDate& date);
// "大安" "赤口" "先勝" "友引" "先負" "仏滅" (Shift_JIS).
const char* rokuyoName(Rokuyo value);

// The lunar dates of one Gregorian month, for painting the month's cells:
// one computation of the one or two lunar years the month touches.
struct MonthLunarDates {
  LunarDate days[32];  // days[1..dayCount]; days[0] unused
  int dayCount = 0;    // 0 when the month is outside the supported range
};
bool buildMonthLunarDates(int year, int month, MonthLunarDates& out);

// "11/13", "閏2/15" (Shift_JIS); empty for a zero date.
std::string_view formatLunarDate(const LunarDate& date, char* buffer, int capacity);
