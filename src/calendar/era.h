#pragma once
// Japanese era years (和暦): the era of a date and its year in that era.
#include <string_view>

struct EraYear {
  const char* name = nullptr;  // "明治" … "令和" (Shift_JIS); null before 明治
  int year = 0;                // 1 for the era's first year
};

// The era in force on the date: 明治 from 1868-10-23 (its first year being
// 1868), 大正 from 1912-07-30, 昭和 from 1926-12-25, 平成 from 1989-01-08,
// 令和 from 2019-05-01. A zero EraYear before 明治.
EraYear eraYearOf(int year, int month, int day);

// "令和8年", "令和元年" (the first year of an era), in Shift_JIS, into
// `buffer`; the Western "2026年" for a date before 明治.
std::string_view formatEraYear(int year, int month, int day, char* buffer, int capacity);
