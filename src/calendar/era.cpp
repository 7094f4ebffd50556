#include "calendar/era.h"

#include <cstdio>

namespace {

struct Era {
  const char* name;
  int year, month, day;  // the first day
};

// Newest first: the first era that began on or before a date is its era.
constexpr Era kEras[] = {
    {"令和", 2019, 5, 1}, {"平成", 1989, 1, 8}, {"昭和", 1926, 12, 25},
    {"大正", 1912, 7, 30}, {"明治", 1868, 10, 23},
};

bool onOrAfter(int year, int month, int day, const Era& era) {
  if (year != era.year) return year > era.year;
  if (month != era.month) return month > era.month;
  return day >= era.day;
}

}  // namespace

EraYear eraYearOf(int year, int month, int day) {
  for (const Era& era : kEras) {
    if (onOrAfter(year, month, day, era)) return EraYear{era.name, year - era.year + 1};
  }
  return EraYear();
}

std::string_view formatEraYear(int year, int month, int day, char* buffer, int capacity) {
  if (capacity <= 0) return {};
  const EraYear era = eraYearOf(year, month, day);
  int n = 0;
  if (era.name == nullptr) {
    n = std::snprintf(buffer, static_cast<std::size_t>(capacity), "%d年", year);
  } else if (era.year == 1) {
    n = std::snprintf(buffer, static_cast<std::size_t>(capacity), "%s元年", era.name);
  } else {
    n = std::snprintf(buffer, static_cast<std::size_t>(capacity), "%s%d年", era.name, era.year);
  }
  if (n < 0) return {};
  return std::string_view(buffer, n < capacity ? static_cast<std::size_t>(n) : static_cast<std::size_t>(capacity - 1));
}
