#pragma once
// Moving through months and days as the main window does.

struct YearMonth {
  int year = 0;
  int month = 0;
  bool operator==(const YearMonth&) const = default;
};

// The month `n` months from `from` (n may be any size, negative too). False,
// leaving `to` alone, when that month lies before January 1980.
bool stepYearMonth(YearMonth from, int n, YearMonth& to);

// `day` lowered to the last day of the month when it lies beyond it.
int clampDayToMonth(int day, YearMonth month);

// `day` + offset, held between 1 and the month's last day.
int stepDayInMonth(int day, int offset, YearMonth month);
