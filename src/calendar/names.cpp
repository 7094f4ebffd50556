#include "calendar/names.h"

namespace {

constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr const char* kWeekdayJa[7] = {"日", "月", "火", "水", "木", "金", "土"};
constexpr const char* kWeekdayEn[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthEn[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Callers index with values read from settings files and user input, so an
// out-of-range index gets an empty name instead of a read past the table.
template <int N>
const char* nameAt(const char* const (&table)[N], int index) {
  return index >= 0 && index < N ? table[index] : "";
}

}  // namespace

int daysInMonthTable(int month) {
  return month >= 1 && month <= 12 ? kDaysInMonth[month - 1] : 0;
}

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
  int days = daysInMonthTable(month);
  if (month == 2 && isLeapYear(year)) ++days;
  return days;
}

const char* weekdayNameJa(int index) { return nameAt(kWeekdayJa, index); }
const char* weekdayNameEn(int index) { return nameAt(kWeekdayEn, index); }
const char* monthNameEn(int index) { return nameAt(kMonthEn, index); }
